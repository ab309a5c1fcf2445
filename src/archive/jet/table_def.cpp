#include "archive/jet/table_def.h"

#include <algorithm>

#include "common/names.h"

namespace tarvik::archive::jet {


const char* type_name(ColumnType type) {
  switch (type) {
    case ColumnType::Boolean: return "boolean";
    case ColumnType::Byte: return "byte";
    case ColumnType::Integer: return "integer";
    case ColumnType::Long: return "long";
    case ColumnType::Currency: return "currency";
    case ColumnType::Single: return "single";
    case ColumnType::Double: return "double";
    case ColumnType::DateTime: return "datetime";
    case ColumnType::Binary: return "binary";
    case ColumnType::Text: return "text";
    case ColumnType::Ole: return "ole";
    case ColumnType::Memo: return "memo";
    case ColumnType::Guid: return "guid";
    case ColumnType::Numeric: return "numeric";
    case ColumnType::Complex: return "complex";
    case ColumnType::BigInt: return "bigint";
    case ColumnType::DateTimeExt: return "datetimeext";
  }
  return "unknown";
}

std::optional<ColumnType> column_type_named(std::string_view name) {
  for (unsigned code = 0; code <= 0xFF; ++code) {
    const auto type = static_cast<ColumnType>(code);
    if (type_name(type) == name && name != "unknown") return type;
  }
  return std::nullopt;
}

const Column* TableDef::find_column(std::string_view wanted) const {
  for (const Column& c : columns)
    if (same_name(c.name, wanted)) return &c;
  return nullptr;
}

const Index* TableDef::primary_key() const {
  for (const Index& i : indexes)
    if (i.name == "PrimaryKey") return &i;
  for (const Index& i : indexes)
    if (i.primary_key) return &i;
  return nullptr;
}

}  // namespace tarvik::archive::jet
