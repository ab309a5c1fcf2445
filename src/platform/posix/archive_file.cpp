#include "platform/archive_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/errno_error.h"
#include "platform/posix/read_ring.h"

namespace tarvik::platform {

namespace {

class PosixArchiveFile final : public ArchiveFile {
 public:
  PosixArchiveFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  ~PosixArchiveFile() override { ::close(fd_); }

  std::uint64_t size() const override { return size_; }

  std::int64_t read_at(std::uint64_t offset, void* buffer, std::size_t length) const override {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < length) {
      const ssize_t n = ::pread(fd_, out + done, length - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return -1;
      if (n == 0) break;  // end of file
      done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
  }

  void read_pieces(std::span<PieceRead> pieces) const override {
    ReadRing* ring = pieces.size() > 1 ? ReadRing::of_this_thread() : nullptr;
    if (!ring) return ArchiveFile::read_pieces(pieces);
    // A piece the ring cut short or failed is read again whole: the same bytes, or the error.
    ring->read(fd_, pieces, [this](PieceRead& piece) { piece.got = read_at(piece.offset, piece.into, piece.length); });
  }

 private:
  int fd_;
  std::uint64_t size_;
};

class PosixArchiveLock final : public ArchiveLock {
 public:
  explicit PosixArchiveLock(int fd) : fd_(fd) {}
  ~PosixArchiveLock() override { ::close(fd_); }  // releases the lock

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<ArchiveFile> ArchiveFile::open(const std::string& path, FileError& error) {
  // Non-blocking, so that a FIFO at the path is refused instead of waiting for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = FileErrorFromErrno(errno);
    return nullptr;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    error = FileError::NotRegular;
    return nullptr;
  }
  // A regular file after all: its reads may wait for the disk again, so that batched reads of pages
  // not yet in memory are queued by the system rather than refused.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  error = FileError::None;
  return std::make_unique<PosixArchiveFile>(fd, static_cast<std::uint64_t>(st.st_size));
}

std::unique_ptr<ArchiveLock> ArchiveLock::acquire(const std::string& path, FileError& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = FileErrorFromErrno(errno);
    return nullptr;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int e = errno;
    ::close(fd);
    error = e == EWOULDBLOCK ? FileError::InUse : FileErrorFromErrno(e);
    return nullptr;
  }
  error = FileError::None;
  return std::make_unique<PosixArchiveLock>(fd);
}

}  // namespace tarvik::platform
