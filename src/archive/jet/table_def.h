// A table's definition as its TDEF pages describe it: columns in column-number order, the
// indexes with their column lists, and where the table's pages are listed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/field_type.h"

namespace tarvik::archive::jet {

// A column's type is the engine's FieldType: the codes its descriptor stores.
using archive::FieldType;


// The name of a type as the `tables` and `dump` commands print it ("long", "memo", ...);
// "unknown" for codes no Access version defines.
const char* type_name(FieldType type);
// The type of that name; none for a name no type has.
std::optional<FieldType> column_type_named(std::string_view name);

struct Column {
  std::string name;  // UTF-8
  FieldType type = FieldType::Text;
  std::uint16_t number = 0;        // col_num: null-mask bit, stable across deletions
  std::uint16_t var_index = 0;     // slot in the row's variable offset table
  std::uint16_t fixed_offset = 0;  // offset in the row's fixed area
  std::uint16_t length = 0;        // stored size in bytes (Jet4 text: 2 per character)
  std::uint8_t flags = 0;
  std::uint8_t precision = 0;  // Numeric only
  std::uint8_t scale = 0;      // Numeric only
  std::uint16_t code_page = 0; // Jet3 text only; 0 when the descriptor has none

  static constexpr std::uint8_t kFixedFlag = 0x01;
  static constexpr std::uint8_t kAutoLongFlag = 0x04;
  static constexpr std::uint8_t kAutoGuidFlag = 0x40;

  bool is_fixed() const { return (flags & kFixedFlag) != 0; }
  bool is_autonumber() const {
    return (flags & kAutoLongFlag) != 0 ||
           (type == FieldType::Guid && (flags & kAutoGuidFlag) != 0);
  }
};

struct IndexColumn {
  std::size_t column = 0;  // position in TableDef::columns
  bool ascending = true;
};

struct Index {
  std::string name;
  std::vector<IndexColumn> columns;
  bool primary_key = false;
  bool unique = false;
  bool foreign_key = false;
  bool ignore_nulls = false;       // rows whose key columns are all null have no entry
  std::uint32_t root_page = 0;     // the index's top page (intermediate or leaf); 0 when unknown
};

struct TableDef {
  std::string name;
  std::uint32_t tdef_page = 0;
  bool system = false;             // table-type byte 0x53
  std::uint32_t row_count = 0;     // as kept in the definition: a witness, never a scan bound
  std::uint16_t max_cols = 0;      // column count written into new rows (deleted ones included)
  std::uint16_t num_var_cols = 0;  // whether rows carry a variable offset table
  std::uint32_t owned_pages_map = 0;  // pg_row of the usage map of the table's data pages
  std::vector<Column> columns;        // in column-number order
  std::vector<Index> indexes;

  // The column with this name, compared without regard to ASCII letter case.
  const Column* find_column(std::string_view name) const;
  // The index named `PrimaryKey`, else the one flagged as primary key, else none.
  const Index* primary_key() const;
};

}  // namespace tarvik::archive::jet
