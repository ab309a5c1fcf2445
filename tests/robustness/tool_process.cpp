#include "robustness/tool_process.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace tarvik::test {

namespace {

constexpr uid_t kNobody = 65534;

// The environment of the child: this process's, with the sanitizers told to exit with a code of
// their own, so that a report in the child can never pass for one of the tool's exit codes.
std::vector<std::string> child_environment() {
  std::vector<std::string> env;
  std::string asan = "ASAN_OPTIONS=exitcode=" + std::to_string(kSanitizerExitCode);
  std::string ubsan = "UBSAN_OPTIONS=halt_on_error=1:exitcode=" + std::to_string(kSanitizerExitCode);
  std::string lsan = "LSAN_OPTIONS=exitcode=" + std::to_string(kSanitizerExitCode);
  for (char** e = environ; *e != nullptr; ++e) {
    std::string_view entry(*e);
    if (entry.starts_with("ASAN_OPTIONS=")) asan = std::string(entry) + ":exitcode=" + std::to_string(kSanitizerExitCode);
    else if (entry.starts_with("UBSAN_OPTIONS=")) ubsan = std::string(entry) + ":halt_on_error=1:exitcode=" + std::to_string(kSanitizerExitCode);
    else if (entry.starts_with("LSAN_OPTIONS=")) lsan = std::string(entry) + ":exitcode=" + std::to_string(kSanitizerExitCode);
    else env.emplace_back(entry);
  }
  env.push_back(asan);
  env.push_back(ubsan);
  env.push_back(lsan);
  return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (std::string& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

// Forks and execs the tool with its output into a new pipe; returns the pipe's read end.
pid_t spawn(const ToolOptions& options, int& output_fd, bool one_page_pipe) {
  std::vector<std::string> argv_strings{options.program};
  argv_strings.insert(argv_strings.end(), options.args.begin(), options.args.end());
  std::vector<std::string> env_strings = child_environment();
  std::vector<char*> argv = pointers(argv_strings), envp = pointers(env_strings);

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  if (one_page_pipe) fcntl(fds[0], F_SETPIPE_SZ, 4096);
  const int devnull = open("/dev/null", O_RDONLY | O_CLOEXEC);
  const bool drop = options.as_nobody && geteuid() == 0;
  struct rlimit limit {};
  if (options.file_size_limit) limit.rlim_cur = limit.rlim_max = *options.file_size_limit;

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    // Only async-signal-safe calls from here on.
    dup2(devnull, STDIN_FILENO);
    dup2(fds[1], STDOUT_FILENO);
    dup2(fds[1], STDERR_FILENO);
    if (options.file_size_limit && setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(kCouldNotExec);
    if (drop && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
      _exit(kCouldNotDropPrivileges);
    execve(argv[0], argv.data(), envp.data());
    _exit(kCouldNotExec);
  }
  close(fds[1]);
  close(devnull);
  output_fd = fds[0];
  return pid;
}

// Reads once into `out`; false at the end of the output.
bool read_some(int fd, std::string& out) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    out.append(buffer, static_cast<std::size_t>(n));
    return true;
  }
}

ToolResult wait_for(pid_t pid, std::string output) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  ToolResult result;
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.output = std::move(output);
  return result;
}

}  // namespace

bool ToolResult::crashed() const {
  return exit_code == kSanitizerExitCode || (signal != 0 && signal != SIGKILL) ||
         output.find("Sanitizer") != std::string::npos || output.find("runtime error:") != std::string::npos;
}

ToolResult run_tool(const ToolOptions& options) {
  int fd = -1;
  const pid_t pid = spawn(options, fd, false);
  std::string output;
  while (read_some(fd, output)) {
  }
  close(fd);
  return wait_for(pid, std::move(output));
}

RunningTool::RunningTool(const ToolOptions& options) { pid_ = spawn(options, output_fd_, true); }

RunningTool::~RunningTool() {
  if (pid_ > 0) kill_and_wait();
}

bool RunningTool::read_until(std::string_view text) {
  while (output_.find(text) == std::string::npos) {
    if (!read_some(output_fd_, output_)) return false;
  }
  return true;
}

ToolResult RunningTool::kill_and_wait() {
  kill(pid_, SIGKILL);
  return wait();
}

ToolResult RunningTool::finish() {
  while (read_some(output_fd_, output_)) {
  }
  return wait();
}

ToolResult RunningTool::wait() {
  close(output_fd_);
  output_fd_ = -1;
  ToolResult result = wait_for(pid_, std::move(output_));
  pid_ = -1;
  return result;
}

}  // namespace tarvik::test
