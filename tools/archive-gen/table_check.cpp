#include "table_check.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "column_layout.h"
#include "utf8.h"
#include "common/names.h"
#include "common/windows1252.h"

namespace tarvik::archive_gen {

using archive::FieldType;

namespace {

// Access limits: 64 characters to a name, 255 columns, 10 columns to an index.
constexpr std::size_t kMaxNameLength = 64;
constexpr std::size_t kMaxColumns = 255;
constexpr std::size_t kMaxIndexColumns = 10;

void check_name(const std::string& name, const std::string& what, const WriteFormat& format) {
  std::u16string wide;
  try {
    wide = utf8_to_utf16(name);
  } catch (const std::runtime_error&) {
    throw std::runtime_error(what + ": the name is not valid UTF-8");
  }
  if (wide.empty()) throw std::runtime_error(what + ": the name is empty");
  if (wide.size() > kMaxNameLength)
    throw std::runtime_error(what + ": the name is longer than 64 characters");
  if (format.jet3())
    for (char16_t c : wide)
      if (windows1252_byte(c) < 0)
        throw std::runtime_error(what + ": a Jet3 archive keeps names in Windows-1252, which lacks a character of this one");
}

std::string table_label(const TableSpec& t) { return "table \"" + t.name + "\""; }
std::string column_label(const TableSpec& t, const std::string& c) {
  return table_label(t) + ", column \"" + c + "\"";
}

void check_table(const TableSpec& t, const WriteFormat& format) {
  check_name(t.name, table_label(t), format);
  if (name_key(t.name).rfind("msys", 0) == 0)
    throw std::runtime_error(table_label(t) + ": names starting with MSys are the system's");
  if (t.columns.empty()) throw std::runtime_error(table_label(t) + ": no columns");
  if (t.columns.size() > kMaxColumns)
    throw std::runtime_error(table_label(t) + ": more than 255 columns");
  std::set<std::string> names;
  int autonumbers = 0;
  for (const ColumnSpec& c : t.columns) {
    const std::string label = column_label(t, c.name);
    check_name(c.name, label, format);
    if (!names.insert(name_key(c.name)).second)
      throw std::runtime_error(label + ": the name is used twice");
    if (!writable_type(c.type)) throw std::runtime_error(label + ": type not supported");
    if (c.type == FieldType::Text && (c.text_size < 1 || c.text_size > 255))
      throw std::runtime_error(label + ": a text size is 1 to 255 characters");
    if (c.autonumber) {
      if (c.type != FieldType::Long)
        throw std::runtime_error(label + ": only a long column can be an autonumber");
      if (++autonumbers > 1) throw std::runtime_error(label + ": a second autonumber column");
    }
  }
  if (t.primary_key.size() > kMaxIndexColumns)
    throw std::runtime_error(table_label(t) + ": a primary key has at most 10 columns");
  std::set<std::string> key_names;
  for (const std::string& k : t.primary_key) {
    const std::string label = column_label(t, k);
    auto it = std::find_if(t.columns.begin(), t.columns.end(),
                           [&](const ColumnSpec& c) { return name_key(c.name) == name_key(k); });
    if (it == t.columns.end())
      throw std::runtime_error(label + ": the primary key names a column the table lacks");
    if (!key_names.insert(name_key(k)).second)
      throw std::runtime_error(label + ": named twice in the primary key");
    if (it->type == FieldType::Memo || it->type == FieldType::Ole)
      throw std::runtime_error(label + ": a memo or ole column cannot be in a primary key");
  }
}

}  // namespace

void check_table_specs(const std::vector<TableSpec>& tables, const WriteFormat& format) {
  std::set<std::string> names;
  for (const TableSpec& t : tables) {
    check_table(t, format);
    if (!names.insert(name_key(t.name)).second)
      throw std::runtime_error(table_label(t) + ": the name is used twice");
  }
}

std::vector<std::size_t> primary_key_columns(const TableSpec& table) {
  std::vector<std::size_t> out;
  for (const std::string& k : table.primary_key)
    for (std::size_t i = 0; i < table.columns.size(); ++i)
      if (name_key(table.columns[i].name) == name_key(k)) out.push_back(i);
  return out;
}

}  // namespace tarvik::archive_gen
