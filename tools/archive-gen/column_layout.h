// Where each column lives in a row and how its descriptor reads: column numbers in declaration
// order, variable columns (text, memo, ole) numbered in their offset table, fixed columns packed
// one after another in the fixed area. Booleans live in the null mask and take no row bytes. A
// table with a past (an aged archive) also has dropped columns: they keep their numbers, their
// offset-table slot and their room in the fixed area, and only the definition forgets them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/jet/table_def.h"
#include "jet_writer.h"
#include "physical_layout.h"

namespace tarvik::archive_gen {

struct ColumnLayout {
  std::u16string name;
  archive::FieldType type = archive::FieldType::Text;
  std::uint16_t index = 0;         // the value's place in a row of the description
  std::uint16_t number = 0;        // the column number: its null-mask bit
  std::uint16_t var_index = 0;     // variable columns; for fixed ones the variable columns before
  std::uint16_t fixed_offset = 0;  // fixed columns
  std::uint16_t length = 0;        // descriptor length in bytes (Jet4 text: 2 per character)
  std::uint8_t flags = 0;
  std::uint8_t extra_flags = 0;
  std::uint16_t text_size = 0;     // text columns: characters
  bool autonumber = false;
  bool code_page_text = false;     // Jet3: texts and memos in Windows-1252
  bool dropped = false;

  static constexpr std::uint8_t kFixed = 0x01;
  static constexpr std::uint8_t kUpdatable = 0x02;
  static constexpr std::uint8_t kAutoLong = 0x04;
  static constexpr std::uint8_t kCompressedUnicode = 0x01;  // extra flags

  bool fixed() const { return (flags & kFixed) != 0; }
  bool long_value() const {
    return type == archive::FieldType::Memo || type == archive::FieldType::Ole;
  }
};

struct TableLayout {
  std::vector<ColumnLayout> columns;  // the description's columns, in its order
  std::vector<ColumnLayout> dropped;  // dropped columns, by number
  std::uint16_t max_columns = 0;      // numbers given, dropped ones included: what new rows carry
  std::uint16_t var_count = 0;        // offset-table slots, dropped ones included
  std::size_t fixed_size = 0;         // bytes of the fixed area
  std::uint16_t first_added = 0;      // columns from this number on came after the old rows
};

// Bytes a fixed column takes in the row (0 for booleans).
std::size_t fixed_row_bytes(archive::FieldType type);
// True for the column types the writer stores.
bool writable_type(archive::FieldType type);

// The layout of a checked table (see check_table_specs), with its past.
TableLayout lay_out_table(const TableSpec& spec, const WriteFormat& format,
                          const TableHistory& history = {});

}  // namespace tarvik::archive_gen
