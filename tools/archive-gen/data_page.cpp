#include "data_page.h"

#include <algorithm>
#include <stdexcept>

#include "little_endian.h"

namespace tarvik::archive_gen {

DataPage::DataPage(const WriteFormat& format, std::uint32_t owner)
    : format_(format), bytes_(format.page_size()) {
  reset(owner);
}

void DataPage::reset(std::uint32_t owner) {
  std::fill(bytes_.begin(), bytes_.end(), std::uint8_t{0});
  bytes_[0] = 0x01;
  bytes_[1] = 0x01;
  store_u32(&bytes_[4], owner);
  rows_ = 0;
  lowest_start_ = bytes_.size();
  store_u16(&bytes_[2], static_cast<std::uint16_t>(free_space()));
}

std::uint8_t DataPage::add(std::span<const std::uint8_t> row, std::uint16_t flags) {
  if (!fits(row.size())) throw std::logic_error("row does not fit the data page");
  lowest_start_ -= row.size();
  std::copy(row.begin(), row.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(lowest_start_));
  store_u16(&bytes_[format_.data_header() + 2 * rows_],
            static_cast<std::uint16_t>(lowest_start_ | flags));
  const auto number = static_cast<std::uint8_t>(rows_);
  ++rows_;
  store_u16(&bytes_[format_.jet.data_row_count], static_cast<std::uint16_t>(rows_));
  store_u16(&bytes_[2], static_cast<std::uint16_t>(free_space()));
  return number;
}

}  // namespace tarvik::archive_gen
