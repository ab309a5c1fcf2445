#include "page_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tarvik::archive_gen {

namespace {

constexpr std::size_t kPendingLimit = 256 * kPageSize;

std::runtime_error io_error(const std::string& what, const std::string& path) {
  return std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

}  // namespace

PageFile::PageFile(std::string path) : path_(std::move(path)) {
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) throw io_error("cannot create", path_);
  pending_.reserve(kPendingLimit);
}

PageFile::~PageFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_) ::unlink(path_.c_str());
}

std::uint32_t PageFile::allocate(std::uint32_t count) {
  if (count > kMaxPages - page_count_)
    throw std::runtime_error("the archive would pass the 2 GB Jet allows (" +
                             std::to_string(kMaxPages) + " pages of 4 KB)");
  const std::uint32_t first = page_count_;
  page_count_ += count;
  return first;
}

void PageFile::write(std::uint32_t page, std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kPageSize || page >= page_count_)
    throw std::logic_error("page write outside the allocated pages");
  const std::uint32_t pending_end =
      pending_first_ + static_cast<std::uint32_t>(pending_.size() / kPageSize);
  if (!pending_.empty() && (page != pending_end || pending_.size() >= kPendingLimit)) flush();
  if (pending_.empty()) pending_first_ = page;
  pending_.insert(pending_.end(), bytes.begin(), bytes.end());
}

void PageFile::flush() {
  std::size_t done = 0;
  const off_t base = static_cast<off_t>(pending_first_) * static_cast<off_t>(kPageSize);
  while (done < pending_.size()) {
    const ssize_t n = ::pwrite(fd_, pending_.data() + done, pending_.size() - done,
                               base + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw io_error("cannot write", path_);
    }
    done += static_cast<std::size_t>(n);
  }
  pending_.clear();
}

void PageFile::commit() {
  flush();
  // Pages allocated but never written (none in practice) read as free pages.
  if (::ftruncate(fd_, static_cast<off_t>(page_count_) * static_cast<off_t>(kPageSize)) != 0)
    throw io_error("cannot size", path_);
  if (::close(fd_) != 0) {
    fd_ = -1;
    throw io_error("cannot close", path_);
  }
  fd_ = -1;
  committed_ = true;
}

}  // namespace tarvik::archive_gen
