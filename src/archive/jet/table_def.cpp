#include "archive/jet/table_def.h"

#include <algorithm>
#include <cctype>

namespace tarvik::archive::jet {

namespace {
bool equal_ignoring_case(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}
}  // namespace

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

const Column* TableDef::find_column(std::string_view wanted) const {
  for (const Column& c : columns)
    if (equal_ignoring_case(c.name, wanted)) return &c;
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
