#include "usage_map.h"

#include <map>
#include <stdexcept>

#include "little_endian.h"

namespace tarvik::archive_gen {

namespace {

std::uint32_t inline_bits(const WriteFormat& format) {
  return static_cast<std::uint32_t>((format.usage_map_row_length() - 5) * 8);
}

bool fits_inline(const WriteFormat& format, std::span<const std::uint32_t> pages) {
  if (pages.empty()) return true;
  const std::uint32_t start = pages.front() & ~7u;
  return pages.back() - start < inline_bits(format);
}

}  // namespace

std::vector<std::uint8_t> inline_usage_map(const WriteFormat& format,
                                           std::span<const std::uint32_t> pages) {
  if (!fits_inline(format, pages)) throw std::logic_error("pages too far apart for an inline map");
  std::vector<std::uint8_t> row(format.usage_map_row_length(), 0);
  const std::uint32_t start = pages.empty() ? 0 : pages.front() & ~7u;
  row[0] = 0;
  store_u32(&row[1], start);
  for (std::uint32_t page : pages) {
    const std::uint32_t bit = page - start;
    row[5 + bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
  }
  return row;
}

std::vector<std::uint8_t> usage_map(PageFile& file, std::span<const std::uint32_t> pages,
                                    bool reference) {
  const WriteFormat& format = file.format();
  if (!reference && fits_inline(format, pages)) return inline_usage_map(format, pages);
  // One bitmap page per range of pages that holds any of the pages.
  const std::uint32_t bits_per_page = static_cast<std::uint32_t>(format.jet.usage_map_page_bits());
  const std::size_t slots = (format.usage_map_row_length() - 1) / 4;
  std::map<std::uint32_t, std::vector<std::uint8_t>> bitmaps;
  for (std::uint32_t page : pages) {
    const std::uint32_t range = page / bits_per_page;
    if (range >= slots) throw std::logic_error("page beyond a reference map's reach");
    auto& bitmap = bitmaps[range];
    if (bitmap.empty()) {
      bitmap.assign(format.page_size(), 0);
      bitmap[0] = 0x05;
      bitmap[1] = 0x01;
    }
    const std::uint32_t bit = page % bits_per_page;
    bitmap[4 + bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
  }
  std::vector<std::uint8_t> row(format.usage_map_row_length(), 0);
  row[0] = 1;
  for (const auto& [range, bitmap] : bitmaps) {
    const std::uint32_t at = file.allocate();
    file.write(at, bitmap);
    store_u32(&row[1 + 4 * range], at);
  }
  return row;
}

std::size_t UsageMapPages::rows_per_page(const WriteFormat& format) {
  return (format.page_size() - format.data_header()) / (format.usage_map_row_length() + 2);
}

std::uint32_t UsageMapPages::pages_for(const WriteFormat& format, std::size_t rows) {
  const std::size_t per_page = rows_per_page(format);
  return static_cast<std::uint32_t>(rows == 0 ? 1 : (rows + per_page - 1) / per_page);
}

UsageMapPages::UsageMapPages(const WriteFormat& format, std::uint32_t first_page, std::size_t rows)
    : format_(format), first_page_(first_page), rows_(rows) {}

std::uint32_t UsageMapPages::pointer(std::size_t k) const {
  const std::size_t per_page = rows_per_page(format_);
  return page_row(first_page_ + static_cast<std::uint32_t>(k / per_page),
                  static_cast<std::uint8_t>(k % per_page));
}

void UsageMapPages::set(std::size_t k, std::vector<std::uint8_t> row) {
  if (row.size() != format_.usage_map_row_length())
    throw std::logic_error("usage map row of a wrong size");
  rows_.at(k) = std::move(row);
}

void UsageMapPages::write(PageFile& file) const {
  const std::size_t per_page = rows_per_page(format_);
  const std::uint32_t count = pages_for(format_, rows_.size());
  for (std::uint32_t p = 0; p < count; ++p) {
    DataPage page(format_, 0);
    for (std::size_t k = p * per_page; k < rows_.size() && k < (p + 1) * per_page; ++k) {
      if (rows_[k].empty()) throw std::logic_error("usage map row never set");
      page.add(rows_[k]);
    }
    file.write(first_page_ + p, page.bytes());
  }
}

}  // namespace tarvik::archive_gen
