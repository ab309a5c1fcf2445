// A data page (type 0x01) being filled: rows are packed from the end of the page downwards, the
// row offset table grows after the header (10 bytes in Jet3, 14 in Jet4), and the free-space
// field is kept as Access keeps it (lowest row start minus the end of the offset table). The
// same layout serves table rows (owner = the table's TDEF page), long values (owner = "LVAL") and
// usage maps (owner 0). An offset entry may carry a flag: a deleted row, a pointer to a row moved
// elsewhere, or the moved row's body; every reader finds a row's end at the previous row's start,
// so rows always lie in descending slot order.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "write_format.h"

namespace tarvik::archive_gen {

class DataPage {
 public:
  // Row numbers are 8 bits in a row pointer.
  static constexpr std::size_t kMaxRows = 255;
  // Owner field of long-value pages: the ASCII letters "LVAL".
  static constexpr std::uint32_t kLongValueOwner = 0x4C41564C;
  // Offset-table flags.
  static constexpr std::uint16_t kDeleted = 0xC000;
  static constexpr std::uint16_t kPointer = 0x4000;
  static constexpr std::uint16_t kMovedBody = 0x8000;

  explicit DataPage(const WriteFormat& format, std::uint32_t owner = 0);

  // Empties the page for a new owner.
  void reset(std::uint32_t owner);
  bool empty() const { return rows_ == 0; }
  std::size_t row_count() const { return rows_; }
  std::size_t free_space() const { return lowest_start_ - (format_.data_header() + 2 * rows_); }
  // Free space of an empty page.
  std::size_t capacity() const { return format_.page_size() - format_.data_header(); }
  bool fits(std::size_t row_length) const {
    return rows_ < kMaxRows && row_length + 2 <= free_space();
  }
  // Appends a row that fits(), its offset entry carrying `flags`; returns its row number.
  std::uint8_t add(std::span<const std::uint8_t> row, std::uint16_t flags = 0);
  std::span<const std::uint8_t> bytes() const { return bytes_; }

 private:
  const WriteFormat& format_;
  std::vector<std::uint8_t> bytes_;
  std::size_t rows_ = 0;
  std::size_t lowest_start_ = 0;
};

}  // namespace tarvik::archive_gen
