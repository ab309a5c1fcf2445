// Usage maps: the rows that list a table's (or an index's) pages. An inline map (type 0) is a
// start page and a 64-byte bitmap, 512 pages from the start; a reference map (type 1) names up to
// 17 bitmap pages (type 0x05), each covering 32 736 pages, which reaches past Jet's 2 GB.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "data_page.h"
#include "page_file.h"

namespace tarvik::archive_gen {

// Both map kinds are rows of this length in Jet4.
inline constexpr std::size_t kUsageMapRowLength = 69;

// An inline map of `pages` (ascending, within 512 pages of the first one rounded down to a
// multiple of 8, as Jackcess keeps it). An empty list gives an empty map from page 0.
std::vector<std::uint8_t> inline_usage_map(std::span<const std::uint32_t> pages);

// The map of `pages` (ascending): inline when they fit one, otherwise a reference map whose
// bitmap pages are allocated at the end of `file` and written now.
std::vector<std::uint8_t> usage_map(PageFile& file, std::span<const std::uint32_t> pages);

// The data pages (owner 0) holding the usage-map rows, reserved when the file is laid out, so
// that every map's row pointer is known before the maps themselves.
class UsageMapPages {
 public:
  static std::uint32_t pages_for(std::size_t rows);

  UsageMapPages(std::uint32_t first_page, std::size_t rows);
  // The row pointer of map row `k`.
  std::uint32_t pointer(std::size_t k) const;
  void set(std::size_t k, std::vector<std::uint8_t> row);
  void write(PageFile& file) const;

 private:
  static constexpr std::size_t kRowsPerPage = DataPage::kEmptyFreeSpace / (kUsageMapRowLength + 2);
  std::uint32_t first_page_;
  std::vector<std::vector<std::uint8_t>> rows_;
};

}  // namespace tarvik::archive_gen
