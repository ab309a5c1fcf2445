#include "page_file.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "platform/utf8_path.h"

namespace tarvik::archive_gen {

namespace {

constexpr std::size_t kPendingPages = 256;

std::runtime_error io_error(const std::string& what, const std::string& path) {
  return std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

}  // namespace

// The path is UTF-8 on every system.
PageFile::PageFile(std::string path, const WriteFormat& format)
    : path_(std::move(path)), format_(format) {
  out_.open(platform::PathFromUtf8(path_), std::ios::binary | std::ios::out | std::ios::trunc);
  if (!out_) throw io_error("cannot create", path_);
  pending_.reserve(kPendingPages * page_size());
}

PageFile::~PageFile() {
  if (out_.is_open()) out_.close();
  std::error_code ignored;
  if (!committed_) std::filesystem::remove(platform::PathFromUtf8(path_), ignored);
}

std::uint32_t PageFile::allocate(std::uint32_t count) {
  if (count > kMaxPages - page_count_)
    throw std::runtime_error(std::string("the archive would pass ") + format_.size_limit_text() + " (" +
                             std::to_string(kMaxPages) + " pages of " +
                             std::to_string(page_size() / 1024) + " KB)");
  const std::uint32_t first = page_count_;
  page_count_ += count;
  return first;
}

void PageFile::write(std::uint32_t page, std::span<const std::uint8_t> bytes) {
  if (bytes.size() != page_size() || page >= page_count_)
    throw std::logic_error("page write outside the allocated pages");
  const std::uint32_t pending_end =
      pending_first_ + static_cast<std::uint32_t>(pending_.size() / page_size());
  if (!pending_.empty() && (page != pending_end || pending_.size() >= kPendingPages * page_size())) flush();
  if (pending_.empty()) pending_first_ = page;
  pending_.insert(pending_.end(), bytes.begin(), bytes.end());
}

void PageFile::flush() {
  if (pending_.empty()) return;
  const auto base = static_cast<std::streamoff>(pending_first_) * static_cast<std::streamoff>(page_size());
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
  std::filesystem::resize_file(platform::PathFromUtf8(path_), std::uintmax_t(page_count_) * page_size(), error);
  if (error) throw std::runtime_error("cannot size " + path_ + ": " + error.message());
  committed_ = true;
}

}  // namespace tarvik::archive_gen
