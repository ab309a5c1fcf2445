#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/flush_behind.h"
#include "platform/posix/errno_error.h"

namespace tarvik::platform {

namespace {

// Puts the file's data on disk.
FileError SyncData(int fd) { return ::fdatasync(fd) == 0 ? FileError::None : FileErrorFromErrno(errno); }

class PosixNewFile final : public NewFile {
 public:
  explicit PosixNewFile(int fd) : fd_(fd), behind_([fd] { return SyncData(fd); }) {}
  ~PosixNewFile() override {
    behind_.stop();
    if (fd_ >= 0) ::close(fd_);
  }

  FileError write(const char* data, std::size_t size) override {
    if (fd_ < 0) return FileError::Other;
    while (size > 0) {
      const ssize_t written = ::write(fd_, data, size);
      if (written < 0 && errno == EINTR) continue;
      // A zero-length write on a regular file means there is no room, as ENOSPC does.
      if (written < 0) return FileErrorFromErrno(errno);
      if (written == 0) return FileError::DiskFull;
      data += written;
      size -= static_cast<std::size_t>(written);
    }
    behind_.wrote();
    return FileError::None;
  }

  FileError flush() override {
    if (fd_ < 0) return FileError::Other;
    return SyncData(fd_);
  }

  FileError flush_and_close() override {
    if (fd_ < 0) return FileError::Other;
    const FileError behind = behind_.stop();
    // Some file systems report a full disk only at the sync or the close.
    int error = ::fsync(fd_) != 0 ? errno : 0;
    if (::close(fd_) != 0 && error == 0) error = errno;
    fd_ = -1;
    return error != 0 ? FileErrorFromErrno(error) : behind;
  }

 private:
  int fd_;
  FlushBehind behind_;
};

bool same_file(int fd, const std::string& path) {
  struct stat by_fd {}, by_path {};
  return fstat(fd, &by_fd) == 0 && ::stat(path.c_str(), &by_path) == 0 &&
         by_fd.st_dev == by_path.st_dev && by_fd.st_ino == by_path.st_ino;
}

}  // namespace

std::unique_ptr<NewFile> NewFile::create(const std::string& path, FileError& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = FileErrorFromErrno(errno);
    return nullptr;
  }
  // Between the create and the lock another run's cleaner may have taken the unlocked file for a
  // leftover and deleted it: then the name is taken again as if it had existed.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !same_file(fd, path)) {
    ::close(fd);
    error = FileError::AlreadyExists;
    return nullptr;
  }
  error = FileError::None;
  return std::make_unique<PosixNewFile>(fd);
}

FileError ReplaceFile(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) return FileErrorFromErrno(errno);
  // The rename itself reaches the disk with the folder's entries.
  const std::size_t slash = to.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : std::string(to, 0, slash + 1);
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return FileError::None;
}

void RemoveFile(const std::string& path) noexcept { ::unlink(path.c_str()); }

bool RemoveIfUnlocked(const std::string& path) noexcept {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
  if (fd < 0) return false;
  struct stat st {};
  bool removed = false;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      same_file(fd, path)) {
    removed = ::unlink(path.c_str()) == 0;
  }
  ::close(fd);
  return removed;
}

}  // namespace tarvik::platform
