#include "description.h"

#include <stdexcept>

#include "json_values.h"

namespace tarvik::archive_gen {

using archive::Value;
using nlohmann::json;

namespace {

std::string table_label(const json& table, std::size_t index) {
  if (table.is_object() && table.contains("name") && table["name"].is_string())
    return "table \"" + table["name"].get<std::string>() + "\"";
  return "table " + std::to_string(index + 1);
}

void only_keys(const json& object, std::initializer_list<const char*> keys,
               const std::string& where) {
  for (const auto& [key, value] : object.items()) {
    bool known = false;
    for (const char* k : keys) known = known || key == k;
    if (!known) throw std::runtime_error(where + ": unknown key \"" + key + "\"");
  }
}

ColumnSpec column_from_json(const json& column, const std::string& table, std::size_t index) {
  std::string where = table + ", column " + std::to_string(index + 1);
  if (!column.is_object()) throw std::runtime_error(where + ": a column is an object");
  if (!column.contains("name") || !column["name"].is_string())
    throw std::runtime_error(where + ": a column needs a \"name\" string");
  ColumnSpec spec;
  spec.name = column["name"].get<std::string>();
  where = table + ", column \"" + spec.name + "\"";
  only_keys(column, {"name", "type", "size", "autonumber"}, where);
  if (!column.contains("type") || !column["type"].is_string())
    throw std::runtime_error(where + ": a column needs a \"type\" string");
  const std::string type = column["type"].get<std::string>();
  const auto jet_type = column_type_named(type);
  if (!jet_type) throw std::runtime_error(where + ": unknown type \"" + type + "\"");
  spec.type = *jet_type;
  if (column.contains("size")) {
    if (spec.type != archive::FieldType::Text)
      throw std::runtime_error(where + ": only a text column has a size");
    const json& size = column["size"];
    if (!size.is_number_integer() || size.get<std::int64_t>() < 1 || size.get<std::int64_t>() > 255)
      throw std::runtime_error(where + ": a text size is 1 to 255 characters");
    spec.text_size = static_cast<std::uint16_t>(size.get<std::int64_t>());
  }
  if (column.contains("autonumber")) {
    if (!column["autonumber"].is_boolean())
      throw std::runtime_error(where + ": \"autonumber\" is true or false");
    spec.autonumber = column["autonumber"].get<bool>();
  }
  return spec;
}

}  // namespace

std::vector<TableSpec> table_specs_from_json(const json& description) {
  if (!description.is_object()) throw std::runtime_error("the description is a JSON object");
  only_keys(description, {"tables"}, "the description");
  if (!description.contains("tables") || !description["tables"].is_array())
    throw std::runtime_error("the description needs a \"tables\" array");
  std::vector<TableSpec> specs;
  const json& tables = description["tables"];
  for (std::size_t t = 0; t < tables.size(); ++t) {
    const json& table = tables[t];
    const std::string label = table_label(table, t);
    if (!table.is_object()) throw std::runtime_error(label + ": a table is an object");
    only_keys(table, {"name", "columns", "primaryKey", "rows"}, label);
    if (!table.contains("name") || !table["name"].is_string())
      throw std::runtime_error(label + ": a table needs a \"name\" string");
    TableSpec spec;
    spec.name = table["name"].get<std::string>();
    if (!table.contains("columns") || !table["columns"].is_array())
      throw std::runtime_error(label + ": a table needs a \"columns\" array");
    for (std::size_t c = 0; c < table["columns"].size(); ++c)
      spec.columns.push_back(column_from_json(table["columns"][c], label, c));
    if (table.contains("primaryKey")) {
      const json& key = table["primaryKey"];
      if (!key.is_array()) throw std::runtime_error(label + ": \"primaryKey\" is an array of names");
      for (const json& name : key) {
        if (!name.is_string())
          throw std::runtime_error(label + ": \"primaryKey\" is an array of names");
        spec.primary_key.push_back(name.get<std::string>());
      }
    }
    if (table.contains("rows") && !table["rows"].is_array())
      throw std::runtime_error(label + ": \"rows\" is an array of rows");
    specs.push_back(std::move(spec));
  }
  return specs;
}

std::vector<Value> row_from_json(const TableSpec& table, const json& row, std::size_t row_index) {
  const std::string where =
      "table \"" + table.name + "\", row " + std::to_string(row_index + 1);
  if (!row.is_array()) throw std::runtime_error(where + ": a row is an array of values");
  if (row.size() != table.columns.size())
    throw std::runtime_error(where + ": " + std::to_string(row.size()) + " values for " +
                             std::to_string(table.columns.size()) + " columns");
  std::vector<Value> values;
  values.reserve(row.size());
  for (std::size_t c = 0; c < row.size(); ++c) {
    try {
      values.push_back(value_from_json(table.columns[c].type, row[c]));
    } catch (const std::runtime_error& e) {
      throw std::runtime_error(where + ", column \"" + table.columns[c].name + "\": " + e.what());
    }
  }
  return values;
}

void write_archive(const json& description, const std::string& out_path, WriterOptions options) {
  std::vector<TableSpec> specs = table_specs_from_json(description);
  JetWriter writer(out_path, specs, options);
  const json& tables = description["tables"];
  for (std::size_t t = 0; t < specs.size(); ++t) {
    if (!tables[t].contains("rows")) continue;
    const json& rows = tables[t]["rows"];
    for (std::size_t r = 0; r < rows.size(); ++r)
      writer.add_row(t, row_from_json(specs[t], rows[r], r));
  }
  writer.finish();
}

}  // namespace tarvik::archive_gen
