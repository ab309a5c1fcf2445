#include "platform/spill_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/posix/errno_error.h"

namespace tarvik::platform {

namespace {

class PosixSpillFile final : public SpillFile {
 public:
  explicit PosixSpillFile(int fd) : fd_(fd) {}
  ~PosixSpillFile() override { ::close(fd_); }

  FileError append(const char* data, std::size_t size) override {
    while (size > 0) {
      const ssize_t written = ::pwrite(fd_, data, size, static_cast<off_t>(end_));
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) return FileErrorFromErrno(errno);
      if (written == 0) return FileError::DiskFull;
      data += written, size -= static_cast<std::size_t>(written), end_ += static_cast<std::uint64_t>(written);
    }
    return FileError::None;
  }

  FileError read(std::uint64_t offset, char* data, std::size_t size) override {
    while (size > 0) {
      const ssize_t got = ::pread(fd_, data, size, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return FileErrorFromErrno(errno);
      if (got == 0) return FileError::Other;  // shorter than what was written
      data += got, size -= static_cast<std::size_t>(got), offset += static_cast<std::uint64_t>(got);
    }
    return FileError::None;
  }

 private:
  int fd_;
  std::uint64_t end_ = 0;
};

}  // namespace

std::unique_ptr<SpillFile> SpillFile::create(const std::string& folder, FileError& error) {
  const std::string where = folder.empty() ? std::string(".") : folder;
  // A file without a name, where the file system offers it; otherwise one named, then unnamed at
  // once, which leaves the same nothing behind.
  int fd = ::open(where.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) {
    std::string name = where + (where.back() == '/' ? "" : "/") + ".tarvik-spill-XXXXXX";
    std::vector<char> path(name.begin(), name.end());
    path.push_back('\0');
    fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd >= 0) ::unlink(path.data());
  }
  if (fd < 0) {
    error = FileErrorFromErrno(errno);
    return nullptr;
  }
  error = FileError::None;
  return std::make_unique<PosixSpillFile>(fd);
}

}  // namespace tarvik::platform
