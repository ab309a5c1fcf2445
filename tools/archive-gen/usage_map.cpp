#include "usage_map.h"

#include <map>
#include <stdexcept>

#include "little_endian.h"

namespace tarvik::archive_gen {

namespace {

constexpr std::uint32_t kInlineBits = (kUsageMapRowLength - 5) * 8;  // 512
constexpr std::uint32_t kBitsPerMapPage = (kPageSize - 4) * 8;       // 32 736
constexpr std::size_t kReferenceSlots = (kUsageMapRowLength - 1) / 4;  // 17

bool fits_inline(std::span<const std::uint32_t> pages) {
  if (pages.empty()) return true;
  const std::uint32_t start = pages.front() & ~7u;
  return pages.back() - start < kInlineBits;
}

}  // namespace

std::vector<std::uint8_t> inline_usage_map(std::span<const std::uint32_t> pages) {
  if (!fits_inline(pages)) throw std::logic_error("pages too far apart for an inline map");
  std::vector<std::uint8_t> row(kUsageMapRowLength, 0);
  const std::uint32_t start = pages.empty() ? 0 : pages.front() & ~7u;
  row[0] = 0;
  store_u32(&row[1], start);
  for (std::uint32_t page : pages) {
    const std::uint32_t bit = page - start;
    row[5 + bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
  }
  return row;
}

std::vector<std::uint8_t> usage_map(PageFile& file, std::span<const std::uint32_t> pages) {
  if (fits_inline(pages)) return inline_usage_map(pages);
  // One bitmap page per 32 736-page range that holds any of the pages.
  std::map<std::uint32_t, std::vector<std::uint8_t>> bitmaps;
  for (std::uint32_t page : pages) {
    const std::uint32_t range = page / kBitsPerMapPage;
    if (range >= kReferenceSlots) throw std::logic_error("page beyond a reference map's reach");
    auto& bitmap = bitmaps[range];
    if (bitmap.empty()) {
      bitmap.assign(kPageSize, 0);
      bitmap[0] = 0x05;
      bitmap[1] = 0x01;
    }
    const std::uint32_t bit = page % kBitsPerMapPage;
    bitmap[4 + bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
  }
  std::vector<std::uint8_t> row(kUsageMapRowLength, 0);
  row[0] = 1;
  for (const auto& [range, bitmap] : bitmaps) {
    const std::uint32_t at = file.allocate();
    file.write(at, bitmap);
    store_u32(&row[1 + 4 * range], at);
  }
  return row;
}

std::uint32_t UsageMapPages::pages_for(std::size_t rows) {
  return static_cast<std::uint32_t>(rows == 0 ? 1 : (rows + kRowsPerPage - 1) / kRowsPerPage);
}

UsageMapPages::UsageMapPages(std::uint32_t first_page, std::size_t rows)
    : first_page_(first_page), rows_(rows) {}

std::uint32_t UsageMapPages::pointer(std::size_t k) const {
  return page_row(first_page_ + static_cast<std::uint32_t>(k / kRowsPerPage),
                  static_cast<std::uint8_t>(k % kRowsPerPage));
}

void UsageMapPages::set(std::size_t k, std::vector<std::uint8_t> row) {
  if (row.size() != kUsageMapRowLength) throw std::logic_error("usage map row of a wrong size");
  rows_.at(k) = std::move(row);
}

void UsageMapPages::write(PageFile& file) const {
  const std::uint32_t count = pages_for(rows_.size());
  for (std::uint32_t p = 0; p < count; ++p) {
    DataPage page(0);
    for (std::size_t k = p * kRowsPerPage; k < rows_.size() && k < (p + 1) * kRowsPerPage; ++k) {
      if (rows_[k].empty()) throw std::logic_error("usage map row never set");
      page.add(rows_[k]);
    }
    file.write(first_page_ + p, page.bytes());
  }
}

}  // namespace tarvik::archive_gen
