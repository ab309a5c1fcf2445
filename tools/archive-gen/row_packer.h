// Packs a row as Jet4 lays it out: the column count, the fixed area (space kept for null values
// too), the variable data in offset-table order, the offset table read backwards from the end
// (with the end-of-data entry and the variable count), and the null mask, one bit per column,
// which also holds the booleans. Memo and ole values up to 64 bytes stay inside the row unless
// the row would not fit a page; longer ones go to LVAL pages.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "archive/value.h"
#include "column_layout.h"
#include "long_value_writer.h"

namespace tarvik::archive_gen {

class RowPacker {
 public:
  static constexpr std::size_t kMaxInlineLongValue = 64;

  explicit RowPacker(const TableLayout& layout);

  // The row of `values` (checked against their columns; no boolean is null), valid until the
  // next call. `long_values` takes the memo and ole data that leave the row; it may be null for
  // a table whose long values are all null. Throws std::runtime_error when the row cannot fit a
  // page even with its long values outside.
  std::span<const std::uint8_t> pack(std::span<const archive::Value> values,
                                     LongValueWriter* long_values);

 private:
  std::size_t row_length(std::size_t var_total) const;

  const TableLayout& layout_;
  std::vector<const ColumnLayout*> var_columns_;  // by var index
  std::vector<std::vector<std::uint8_t>> var_bytes_;  // by var index
  std::vector<std::uint8_t> row_;
};

}  // namespace tarvik::archive_gen
