// Memo and OLE data kept outside the row: a value up to 4076 bytes is one row on an LVAL page
// (type 0x40), a longer one a chain of rows, each a 4-byte pointer to the next and up to 4076
// bytes, the lengths adding up exactly to the value's. Rows of several values share an LVAL
// page while they fit; full chunks take a page each.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "data_page.h"
#include "page_file.h"

namespace tarvik::archive_gen {

// The 12 bytes that stand for a long value in its row: length and storage kind, first row.
using LongValueHeader = std::array<std::uint8_t, 12>;

class LongValueWriter {
 public:
  static constexpr std::size_t kChunk = 4076;
  // The readers take the length from 24 bits.
  static constexpr std::size_t kMaxLength = 0xFFFFFF;

  explicit LongValueWriter(PageFile& file) : file_(file), page_(DataPage::kLongValueOwner) {}

  // Header of a value stored inside the row, followed there by its bytes.
  static LongValueHeader inline_header(std::size_t length);
  // Stores `data` (at most kMaxLength bytes) on LVAL pages and returns its header.
  LongValueHeader store(std::span<const std::uint8_t> data);
  // Writes the page being filled.
  void flush();

 private:
  // Adds a row to the shared page, opening a new one when it does not fit; returns its pointer.
  std::uint32_t add_shared(std::span<const std::uint8_t> row);

  PageFile& file_;
  DataPage page_;
  std::uint32_t page_number_ = 0;
  bool open_ = false;
};

}  // namespace tarvik::archive_gen
