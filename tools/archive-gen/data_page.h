// A data page (type 0x01) being filled: rows are packed from the end of the page downwards, the
// row offset table grows after the 14-byte header, and the free-space field is kept as Access
// keeps it (lowest row start minus the end of the offset table). The same layout serves table
// rows (owner = the table's TDEF page), long values (owner = "LVAL") and usage maps (owner 0).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "page_file.h"

namespace tarvik::archive_gen {

class DataPage {
 public:
  static constexpr std::size_t kHeaderSize = 14;
  static constexpr std::size_t kEmptyFreeSpace = kPageSize - kHeaderSize;  // 4082
  // The longest row an empty page takes (one offset entry beside it).
  static constexpr std::size_t kMaxRowLength = kEmptyFreeSpace - 2;
  // Row numbers are 8 bits in a row pointer.
  static constexpr std::size_t kMaxRows = 255;
  // Owner field of long-value pages: the ASCII letters "LVAL".
  static constexpr std::uint32_t kLongValueOwner = 0x4C41564C;

  explicit DataPage(std::uint32_t owner = 0) { reset(owner); }

  // Empties the page for a new owner.
  void reset(std::uint32_t owner);
  bool empty() const { return rows_ == 0; }
  std::size_t row_count() const { return rows_; }
  std::size_t free_space() const { return lowest_start_ - (kHeaderSize + 2 * rows_); }
  bool fits(std::size_t row_length) const {
    return rows_ < kMaxRows && row_length + 2 <= free_space();
  }
  // Appends a row that fits(); returns its row number.
  std::uint8_t add(std::span<const std::uint8_t> row);
  std::span<const std::uint8_t> bytes() const { return bytes_; }

 private:
  std::array<std::uint8_t, kPageSize> bytes_{};
  std::size_t rows_ = 0;
  std::size_t lowest_start_ = kPageSize;
};

}  // namespace tarvik::archive_gen
