#include "archive/jet/table_def.h"

#include <algorithm>

#include "common/names.h"

namespace tarvik::archive::jet {


const char* type_name(FieldType type) {
  switch (type) {
    case FieldType::Boolean: return "boolean";
    case FieldType::Byte: return "byte";
    case FieldType::Integer: return "integer";
    case FieldType::Long: return "long";
    case FieldType::Currency: return "currency";
    case FieldType::Single: return "single";
    case FieldType::Double: return "double";
    case FieldType::DateTime: return "datetime";
    case FieldType::Binary: return "binary";
    case FieldType::Text: return "text";
    case FieldType::Ole: return "ole";
    case FieldType::Memo: return "memo";
    case FieldType::Guid: return "guid";
    case FieldType::Numeric: return "numeric";
    case FieldType::Complex: return "complex";
    case FieldType::BigInt: return "bigint";
    case FieldType::DateTimeExt: return "datetimeext";
  }
  return "unknown";
}

std::optional<FieldType> column_type_named(std::string_view name) {
  for (unsigned code = 0; code <= 0xFF; ++code) {
    const auto type = static_cast<FieldType>(code);
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
