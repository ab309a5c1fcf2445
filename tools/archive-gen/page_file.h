// The output file as a sequence of pages (2 KB in Jet3, 4 KB in Jet4). Pages are numbered as they are allocated and may
// be written in any order (definitions reserved at the start are written last); writes to
// consecutive pages are combined. Jet cannot address a file beyond 2 GB, so allocation past that
// is refused. Until commit() the file is provisional: destroying the object removes it, so a
// refused description never leaves a half-written archive behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "write_format.h"

namespace tarvik::archive_gen {

inline constexpr std::uint32_t kMaxPages = WriteFormat::kMaxPages;

class PageFile {
 public:
  PageFile(std::string path, const WriteFormat& format);
  ~PageFile();
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;

  // The next `count` page numbers, consecutive. Throws std::runtime_error past the 2 GB limit.
  std::uint32_t allocate(std::uint32_t count = 1);
  std::uint32_t page_count() const { return page_count_; }
  std::size_t page_size() const { return format_.page_size(); }
  const WriteFormat& format() const { return format_; }

  // Writes one whole page (page_size() bytes) at its place.
  void write(std::uint32_t page, std::span<const std::uint8_t> bytes);
  // Flushes, closes and keeps the file.
  void commit();

 private:
  void flush();

  std::string path_;
  const WriteFormat& format_;
  std::ofstream out_;
  std::uint32_t page_count_ = 0;
  bool committed_ = false;
  std::vector<std::uint8_t> pending_;  // consecutive pages starting at pending_first_
  std::uint32_t pending_first_ = 0;
};

}  // namespace tarvik::archive_gen
