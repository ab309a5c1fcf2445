// Where each column lives in a Jet4 row and how its descriptor reads: column numbers in
// declaration order, variable columns (text, memo, ole) numbered 0..v-1 in their offset table,
// fixed columns packed one after another in the fixed area. Booleans live in the null mask and
// take no row bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/jet/table_def.h"
#include "jet4_writer.h"

namespace tarvik::archive_gen {

struct ColumnLayout {
  std::u16string name;
  archive::jet::ColumnType type = archive::jet::ColumnType::Text;
  std::uint16_t number = 0;
  std::uint16_t var_index = 0;     // variable columns; for fixed ones the variable columns before
  std::uint16_t fixed_offset = 0;  // fixed columns
  std::uint16_t length = 0;        // descriptor length in bytes (text: 2 per character)
  std::uint8_t flags = 0;
  std::uint8_t extra_flags = 0;
  std::uint16_t text_size = 0;     // text columns: characters
  bool autonumber = false;

  static constexpr std::uint8_t kFixed = 0x01;
  static constexpr std::uint8_t kUpdatable = 0x02;
  static constexpr std::uint8_t kAutoLong = 0x04;
  static constexpr std::uint8_t kCompressedUnicode = 0x01;  // extra flags

  bool fixed() const { return (flags & kFixed) != 0; }
  bool long_value() const {
    return type == archive::jet::ColumnType::Memo || type == archive::jet::ColumnType::Ole;
  }
};

struct TableLayout {
  std::vector<ColumnLayout> columns;  // column-number order
  std::uint16_t var_count = 0;
  std::size_t fixed_size = 0;         // bytes of the fixed area
};

// Bytes a fixed column takes in the row (0 for booleans).
std::size_t fixed_row_bytes(archive::jet::ColumnType type);
// True for the column types the writer stores.
bool writable_type(archive::jet::ColumnType type);

// The layout of a checked table (see check_table_specs).
TableLayout lay_out_table(const TableSpec& spec);

}  // namespace tarvik::archive_gen
