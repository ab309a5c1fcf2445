// Packs a row as Jet lays it out: the column count (2 bytes in Jet4, 1 in Jet3), the fixed area
// (space kept for null values too), the variable data in offset-table order, the offset table read
// backwards from the end (with the end-of-data entry and the variable count; Jet3's one-byte
// offsets with their jump table), and the null mask, one bit per column, which also holds the
// booleans. Memo and ole values up to 64 bytes stay inside the row unless the row would not fit a
// page; longer ones go to LVAL pages. Dropped columns keep their bytes; an old row, written before
// the table's added columns, stops at the first of them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "archive/value.h"
#include "column_layout.h"
#include "long_value_writer.h"
#include "physical_layout.h"

namespace tarvik::archive_gen {

class RowPacker {
 public:
  static constexpr std::size_t kMaxInlineLongValue = 64;

  RowPacker(const TableLayout& layout, const WriteFormat& format, PhysicalLayout& physical);

  // The row of `values` (checked against their columns; no boolean is null), valid until the
  // next call. `long_values` takes the memo and ole data that leave the row; it may be null for
  // a table whose long values are all null. `old_row` stops the row before the added columns
  // (whose values are then null). Throws std::runtime_error when the row cannot fit a page even
  // with its long values outside.
  std::span<const std::uint8_t> pack(std::span<const archive::Value> values,
                                     LongValueWriter* long_values, bool old_row = false);

 private:
  std::size_t tail_length(std::size_t before_tail, std::size_t var_count, std::size_t mask) const;
  void write_jet3_offsets(std::uint8_t* row, std::size_t length, std::size_t mask,
                          std::size_t var_count) const;

  const TableLayout& layout_;
  const WriteFormat& format_;
  PhysicalLayout& physical_;
  std::vector<const ColumnLayout*> by_number_;
  std::vector<std::vector<std::uint8_t>> var_bytes_;  // by var index
  std::vector<bool> present_;                         // by column number
  std::vector<std::vector<std::uint8_t>> dropped_fixed_;  // by column number
  std::vector<std::size_t> offsets_;                  // by var index, then the end of the data
  std::vector<std::uint8_t> row_;
};

}  // namespace tarvik::archive_gen
