// Splits a row into its columns' bytes. A row is: the column count it was written with, the fixed
// area, the variable data, then from the end backwards the null mask, the variable-column count and
// the variable offsets (Jet3 with one-byte offsets and a jump table). Tables without variable
// columns have no count and no offsets at all. A row written before a column was added has fewer
// columns than the table: the missing ones read as null.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "archive/jet/bytes.h"
#include "archive/jet/format.h"
#include "archive/jet/table_def.h"

namespace tarvik::archive::jet {

struct Field {
  bool present = false;  // the null-mask bit: for a Yes/No column, its value
  Bytes bytes;           // the stored bytes; empty for Yes/No and nulls
};

class RowLayout {
 public:
  RowLayout(const TableDef& table, const Format& format);

  // Fills the fields of `columns` (positions in the table's column list; `fields` holds one per
  // column) from `row`; the other fields are left as they were. Throws "damaged" when the row's own
  // structure (counts, offsets) does not fit inside it, whichever columns are asked for.
  void split(Bytes row, std::vector<Field>& fields, std::span<const std::uint32_t> columns) const;
  // Every column's field.
  void split(Bytes row, std::vector<Field>& fields) const { split(row, fields, every_column_); }

 private:
  // Returns whether the offsets ever go down.
  bool read_jet4_offsets(const Reader& r, std::size_t mask_size, std::vector<std::size_t>& offsets) const;
  void read_jet3_offsets(const Reader& r, std::size_t mask_size, std::vector<std::size_t>& offsets) const;

  const TableDef& table_;
  const Format& format_;
  std::vector<std::uint32_t> every_column_;  // 0, 1, ... one per column
};

}  // namespace tarvik::archive::jet
