#include "transfer/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>


namespace tarvik::transfer {

namespace {

std::filesystem::path temporary_name(const std::filesystem::path& path, std::uint32_t suffix) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = path.filename().string() + ".tmp-";
  for (int shift = 20; shift >= 0; shift -= 4) name += kHex[(suffix >> shift) & 0xF];
  return path.parent_path() / name;
}

}  // namespace

OutputFile::OutputFile(std::filesystem::path path) : path_(std::move(path)) {
  std::random_device random;
  // A name already taken (another run's leftover) is skipped; O_EXCL never reuses one.
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary_path_ = temporary_name(path_, random());
    fd_ = ::open(temporary_path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) return;
    if (errno != EEXIST) throw errors::from_errno(errno);
  }
  throw errors::path_access();
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::write(const char* data, std::size_t size) {
  if (failure_) throw *failure_;
  if (fd_ < 0) throw errors::device_io();  // already committed or discarded
  while (size > 0) {
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      // A zero-length write on a regular file means there is no room, as ENOSPC does.
      failure_ = written < 0 ? errors::from_errno(errno) : errors::disk_full();
      discard();
      throw *failure_;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

void OutputFile::commit() {
  if (failure_) throw *failure_;
  if (fd_ < 0) throw errors::device_io();
  // Some file systems report a full disk only at the sync or the close.
  int error = ::fsync(fd_) != 0 ? errno : 0;
  if (::close(fd_) != 0 && error == 0) error = errno;
  fd_ = -1;
  if (error == 0 && std::rename(temporary_path_.c_str(), path_.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary_path_.c_str());
    temporary_path_.clear();
    failure_ = errors::from_errno(error);
    throw *failure_;
  }
  temporary_path_.clear();
}

void OutputFile::discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_path_.empty()) ::unlink(temporary_path_.c_str());
  temporary_path_.clear();
}

void DeleteTransferFile(const std::filesystem::path& path) noexcept { ::unlink(path.c_str()); }

}  // namespace tarvik::transfer
