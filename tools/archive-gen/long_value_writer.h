// Memo and OLE data kept outside the row: a value up to one chunk (page size less the page header,
// an offset entry and a 4-byte pointer: 4076 bytes in Jet4, 2032 in Jet3) is one row on an LVAL
// page (type 0x40), a longer one a chain of rows, each a 4-byte pointer to the next and up to a
// chunk, the lengths adding up exactly to the value's. Rows of several values share an LVAL page
// while they fit; full chunks take a page each. Where the pages go is the layout's choice.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "data_page.h"
#include "page_file.h"
#include "physical_layout.h"

namespace tarvik::archive_gen {

// The 12 bytes that stand for a long value in its row: length and storage kind, first row.
using LongValueHeader = std::array<std::uint8_t, 12>;

class LongValueWriter {
 public:
  // The readers take the length from 24 bits.
  static constexpr std::size_t kMaxLength = 0xFFFFFF;

  LongValueWriter(PageFile& file, PhysicalLayout& layout)
      : file_(file), layout_(layout), page_(file.format(), DataPage::kLongValueOwner) {}

  // Header of a value stored inside the row, followed there by its bytes.
  static LongValueHeader inline_header(std::size_t length);
  // Stores `data` (at most kMaxLength bytes) on LVAL pages and returns its header.
  LongValueHeader store(std::span<const std::uint8_t> data);
  // Writes the page being filled.
  void flush();

 private:
  // Adds a row to the shared page, opening a new one when it does not fit; returns its pointer.
  std::uint32_t add_shared(std::span<const std::uint8_t> row);
  // Writes a row alone on a page of its own; returns its pointer.
  std::uint32_t add_alone(std::span<const std::uint8_t> row);

  PageFile& file_;
  PhysicalLayout& layout_;
  DataPage page_;
  std::uint32_t page_number_ = 0;
  bool open_ = false;
};

}  // namespace tarvik::archive_gen
