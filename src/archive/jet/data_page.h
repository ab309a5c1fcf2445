// A data page (type 0x01): its owner and the row offset table. Rows are packed from the page's end
// downwards; row i spans [start_i, end_i) where end_0 is the page size and end_i the start of row
// i-1. Each slot's two top bits say whether the row is live, deleted, moved away (a pointer to its
// new place) or the moved copy itself.
#pragma once

#include <cstdint>
#include <optional>

#include "archive/jet/bytes.h"
#include "archive/jet/format.h"
#include "archive/jet/page_source.h"

namespace tarvik::archive::jet {

enum class RowKind : std::uint8_t {
  Live,         // no flag
  Pointer,      // 0x4000 alone: the first 4 bytes point to the moved row
  MovedCopy,    // 0x8000 alone: a moved row at its new place, reached through its pointer
  Deleted,      // both flags
};

struct RowSlot {
  RowKind kind = RowKind::Live;
  Bytes bytes;  // the row's bytes; empty for a deleted row
};

inline constexpr std::uint8_t kDataPageType = 0x01;
inline constexpr std::uint32_t kLongValueOwner = 0x4C41564C;  // "LVAL" read as a little-endian u32

class DataPage {
 public:
  // Checks the page type and the row count against the page size. Throws "damaged".
  DataPage(Page page, const Format& format, std::uint32_t page_number);

  std::uint32_t owner() const { return load_u32(page_.bytes.data() + 4); }
  std::uint16_t row_count() const { return row_count_; }
  std::uint32_t page_number() const { return page_number_; }
  // Row `row` of the page, its bounds checked. Throws "damaged" for a live row out of bounds.
  RowSlot row(std::uint16_t row) const;

 private:
  Page page_;
  const Format& format_;
  std::uint32_t page_number_;
  std::uint16_t row_count_;
};

// Page and row of a row pointer as Jet stores them: (page << 8) | row.
struct RowPointer {
  std::uint32_t page = 0;
  std::uint8_t row = 0;
  static RowPointer from(std::uint32_t pg_row) {
    return RowPointer{pg_row >> 8, std::uint8_t(pg_row & 0xFF)};
  }
};

}  // namespace tarvik::archive::jet
