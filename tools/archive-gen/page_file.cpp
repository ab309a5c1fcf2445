#include "page_file.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace tarvik::archive_gen {

namespace {

constexpr std::size_t kPendingLimit = 256 * kPageSize;

std::runtime_error io_error(const std::string& what, const std::string& path) {
  return std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

}  // namespace

// The path is UTF-8 on every system.
static std::filesystem::path native_path(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

PageFile::PageFile(std::string path) : path_(std::move(path)) {
  out_.open(native_path(path_), std::ios::binary | std::ios::out | std::ios::trunc);
  if (!out_) throw io_error("cannot create", path_);
  pending_.reserve(kPendingLimit);
}

PageFile::~PageFile() {
  if (out_.is_open()) out_.close();
  std::error_code ignored;
  if (!committed_) std::filesystem::remove(native_path(path_), ignored);
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
  if (pending_.empty()) return;
  const auto base = static_cast<std::streamoff>(pending_first_) * static_cast<std::streamoff>(kPageSize);
  out_.seekp(base);
  out_.write(reinterpret_cast<const char*>(pending_.data()), static_cast<std::streamsize>(pending_.size()));
  if (!out_) throw io_error("cannot write", path_);
  pending_.clear();
}

void PageFile::commit() {
  flush();
  out_.close();
  if (out_.fail()) throw io_error("cannot close", path_);
  // Pages allocated but never written (none in practice) read as free pages.
  std::error_code error;
  std::filesystem::resize_file(native_path(path_), std::uintmax_t(page_count_) * kPageSize, error);
  if (error) throw std::runtime_error("cannot size " + path_ + ": " + error.message());
  committed_ = true;
}

}  // namespace tarvik::archive_gen
