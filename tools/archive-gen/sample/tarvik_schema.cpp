#include "tarvik_schema.h"

#include <stdexcept>

#include "json_values.h"
#include "tarvik_schema_data.h"

namespace tarvik::archive_gen::sample {

using archive::FieldType;

FieldType column_type_from_name(std::string_view name) {
  if (const auto type = column_type_named(name)) return *type;
  throw std::invalid_argument("unknown column type \"" + std::string(name) + "\"");
}

namespace {

std::vector<std::string> split_names(std::string_view joined) {
  std::vector<std::string> names;
  while (!joined.empty()) {
    const std::size_t comma = joined.find(',');
    names.emplace_back(joined.substr(0, comma));
    if (comma == std::string_view::npos) break;
    joined.remove_prefix(comma + 1);
  }
  return names;
}

}  // namespace

SampleSchema tarvik_schema(bool without_note_in_bolla) {
  SampleSchema schema;
  for (const generated::TableRow& row : generated::kTables) {
    TableSpec table;
    table.name = row.name;
    table.primary_key = split_names(row.primary_key);
    schema.tables.push_back(std::move(table));
  }
  for (const generated::ColumnRow& row : generated::kColumns) {
    TableSpec& table = schema.tables.at(static_cast<std::size_t>(row.table));
    if (without_note_in_bolla && table.name == "CliFor" && std::string_view(row.name) == "NoteInBolla") {
      schema.dropped_columns.push_back("CliFor.NoteInBolla");
      continue;
    }
    ColumnSpec column;
    column.name = row.name;
    column.type = column_type_from_name(row.type);
    column.text_size = static_cast<std::uint16_t>(row.size);
    column.autonumber = row.autonumber;
    table.columns.push_back(std::move(column));
  }
  return schema;
}

std::size_t SampleSchema::table_index(std::string_view name) const {
  for (std::size_t i = 0; i < tables.size(); ++i) {
    if (tables[i].name == name) return i;
  }
  throw std::logic_error("the Tarvik schema has no table " + std::string(name));
}

bool SampleSchema::is_dropped(std::string_view table, std::string_view column) const {
  for (const std::string& dropped : dropped_columns) {
    const std::string_view d(dropped);
    if (d.size() == table.size() + 1 + column.size() && d.starts_with(table) &&
        d[table.size()] == '.' && d.ends_with(column)) {
      return true;
    }
  }
  return false;
}

}  // namespace tarvik::archive_gen::sample
