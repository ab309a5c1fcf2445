// A transfer file that cannot be written to the end: the error reaches the caller with its number
// and description, later calls fail the same way, and no file is left. Each case runs in a forked
// child, which alone gets the file size limit or the full file system.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "support/temp_dir.h"
#include "transfer/folder_files.h"
#include "transfer/transfer_error.h"
#include "transfer/transfer_writer.h"

namespace tarvik::transfer {
namespace {

using archive::Value;
using test::TempDir;
using testing::entries;

constexpr int kCannotSetUp = 77;

struct ChildResult {
  int exit_code = -1;
  std::string report;
};

// Runs `body` in a forked child; what it writes to the given descriptor comes back as the report.
ChildResult run_in_child(const std::function<int(int report_fd)>& body) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipe_fds[0]);
    int code = 3;
    try {
      code = body(pipe_fds[1]);
    } catch (...) {
    }
    ::_exit(code);
  }
  ::close(pipe_fds[1]);
  ChildResult result;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0;) result.report.append(buffer, n);
  ::close(pipe_fds[0]);
  int status = 0;
  if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    result.exit_code = WEXITSTATUS(status);
  return result;
}

void report(int fd, const std::string& text) {
  if (::write(fd, text.data(), text.size()) < 0) ::_exit(4);
}

// Writes lines until the writer fails, then checks that it stays failed and leaves no file.
// Exit 0 when all held; the report says what was seen.
int fill_until_failure(const TempDir& folder, int report_fd) {
  const auto path = folder / "ProvaExport.txt";
  TransferWriter writer(path);
  int first_number = 0;
  try {
    for (int i = 0; i < 1'000'000; ++i) {
      writer.WriteValue(Value::text(u"Una riga di prova del file di trasferimento"), false);
      writer.WriteNumberLine(i);
    }
    writer.close();
    report(report_fd, "no error");
    return 1;
  } catch (const TransferError& e) {
    first_number = e.number();
    report(report_fd, std::to_string(e.number()) + " " + e.description() + "\n");
  }
  // The file is already gone, and nothing more is written or renamed into place.
  if (!entries(folder.path()).empty()) report(report_fd, "temporary file left\n");
  try {
    writer.WriteTextLine("more");
    for (int i = 0; i < 100'000; ++i) writer.WriteTextLine("more");
    writer.close();
    report(report_fd, "close succeeded\n");
  } catch (const TransferError& e) {
    if (e.number() != first_number) report(report_fd, "then " + std::to_string(e.number()) + "\n");
  }
  writer.close_and_delete();
  if (!entries(folder.path()).empty()) report(report_fd, "file left\n");
  return 0;
}

TEST(FailedWrite, FileSizeLimitIsDiskFull) {
  TempDir folder;
  const ChildResult result = run_in_child([&](int fd) {
    ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    const rlimit limit{64 * 1024, 64 * 1024};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return kCannotSetUp;
    return fill_until_failure(folder, fd);
  });
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.report, "61 Disco pieno\n");
  EXPECT_TRUE(entries(folder.path()).empty());
}

bool write_file(const char* path, const std::string& text) {
  const int fd = ::open(path, O_WRONLY);
  if (fd < 0) return false;
  const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ::close(fd);
  return ok;
}

// A mount namespace of this process alone, so a mount made now is seen by no one else.
bool enter_private_mount_namespace() {
  if (::unshare(CLONE_NEWNS) != 0) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    write_file("/proc/self/setgroups", "deny");
    if (!write_file("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !write_file("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
      return false;
  }
  return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

TEST(FailedWrite, FullFileSystemIsDiskFull) {
  TempDir folder;
  const ChildResult result = run_in_child([&](int fd) {
    if (!enter_private_mount_namespace()) return kCannotSetUp;
    if (::mount("tmpfs", folder.path().c_str(), "tmpfs", 0, "size=64k") != 0) return kCannotSetUp;
    return fill_until_failure(folder, fd);
  });
  if (result.exit_code == kCannotSetUp) GTEST_SKIP() << "no private mount namespace here";
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.report, "61 Disco pieno\n");
}

}  // namespace
}  // namespace tarvik::transfer
