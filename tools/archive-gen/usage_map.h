// Usage maps: the rows that list a table's (or an index's) pages. An inline map (type 0) is a
// start page and a bitmap (64 bytes in Jet4: 512 pages from the start; 128 in Jet3: 1024 pages);
// a reference map (type 1) names bitmap pages (type 0x05; 17 in Jet4, 33 in Jet3), each covering
// all its page holds but its 4-byte header, which reaches past Jet's size limit.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "data_page.h"
#include "page_file.h"

namespace tarvik::archive_gen {

// An inline map of `pages` (ascending, within the bitmap's reach of the first one rounded down to
// a multiple of 8, as Jackcess keeps it). An empty list gives an empty map from page 0.
std::vector<std::uint8_t> inline_usage_map(const WriteFormat& format,
                                           std::span<const std::uint32_t> pages);

// The map of `pages` (ascending): inline when they fit one and `reference` is false, otherwise a
// reference map whose bitmap pages are allocated at the end of `file` and written now.
std::vector<std::uint8_t> usage_map(PageFile& file, std::span<const std::uint32_t> pages,
                                    bool reference = false);

// The data pages (owner 0) holding the usage-map rows, reserved when the file is laid out, so
// that every map's row pointer is known before the maps themselves.
class UsageMapPages {
 public:
  static std::uint32_t pages_for(const WriteFormat& format, std::size_t rows);

  UsageMapPages(const WriteFormat& format, std::uint32_t first_page, std::size_t rows);
  // The row pointer of map row `k`.
  std::uint32_t pointer(std::size_t k) const;
  void set(std::size_t k, std::vector<std::uint8_t> row);
  void write(PageFile& file) const;

 private:
  static std::size_t rows_per_page(const WriteFormat& format);

  const WriteFormat& format_;
  std::uint32_t first_page_;
  std::vector<std::vector<std::uint8_t>> rows_;
};

}  // namespace tarvik::archive_gen
