// Archives written for a test with the project's Jet4 writer: tables declared with their columns
// and rows, the file written into a folder of the test.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "archive/value.h"
#include "jet_writer.h"

namespace tarvik::test {

struct TestTable {
  archive_gen::TableSpec spec;
  std::vector<std::vector<archive::Value>> rows;
};

inline void write_archive(const std::filesystem::path& path, const std::vector<TestTable>& tables) {
  std::vector<archive_gen::TableSpec> specs;
  for (const TestTable& t : tables) specs.push_back(t.spec);
  archive_gen::JetWriter writer(path.string(), specs);
  for (std::size_t i = 0; i < tables.size(); ++i)
    for (const auto& row : tables[i].rows) writer.add_row(i, row);
  writer.finish();
}

// Shorthands for column declarations.
inline archive_gen::ColumnSpec long_column(std::string name, bool autonumber = false) {
  return {std::move(name), archive::FieldType::Long, 0, autonumber};
}
inline archive_gen::ColumnSpec text_column(std::string name, std::uint16_t size = 50) {
  return {std::move(name), archive::FieldType::Text, size, false};
}
inline archive_gen::ColumnSpec column(std::string name, archive::FieldType type) {
  return {std::move(name), type, 50, false};
}

// Shorthands for values.
inline archive::Value L(std::int32_t v) { return archive::Value::long_(v); }
inline archive::Value T(std::u16string v) { return archive::Value::text(std::move(v)); }
inline archive::Value null() { return archive::Value(); }

}  // namespace tarvik::test
