// Test tables for the warehouse and document blocks: columns declared with their Jet types, rows
// given by column name, so a test can declare a table's columns in any order and still fill each
// row by name. Also value shorthands for the types of Tarvik's fields.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/test_archive.h"

namespace tarvik::test {

using archive::FieldType;

struct NamedColumn {
  std::string name;
  FieldType type;
  std::uint16_t text_size = 50;
};

using NamedRow = std::map<std::string, archive::Value>;

// A column a row does not name is null, except a Yes/No column, which is false (Jet keeps Yes/No
// in the null mask and cannot store a null there). A row naming a column the table lacks is a
// mistake in the test and throws.
inline TestTable named_table(std::string name, const std::vector<NamedColumn>& columns,
                             std::vector<std::string> primary_key, const std::vector<NamedRow>& rows) {
  TestTable table;
  table.spec.name = std::move(name);
  table.spec.primary_key = std::move(primary_key);
  for (const NamedColumn& c : columns) table.spec.columns.push_back({c.name, c.type, c.text_size, false});
  for (const NamedRow& named : rows) {
    for (const auto& [column, value] : named) {
      bool known = false;
      for (const NamedColumn& c : columns) known = known || c.name == column;
      if (!known) throw std::invalid_argument("no column " + column + " in " + table.spec.name);
    }
    std::vector<archive::Value> row;
    for (const NamedColumn& c : columns) {
      auto found = named.find(c.name);
      if (found != named.end()) row.push_back(found->second);
      else if (c.type == FieldType::Boolean) row.push_back(archive::Value::boolean(false));
      else row.push_back(archive::Value());
    }
    table.rows.push_back(std::move(row));
  }
  return table;
}

// The columns sorted by name: a table declared so holds its fields in an order other than the
// block's, which the exporter must not depend on.
inline std::vector<NamedColumn> in_name_order(std::vector<NamedColumn> columns) {
  std::sort(columns.begin(), columns.end(),
            [](const NamedColumn& a, const NamedColumn& b) { return a.name < b.name; });
  return columns;
}

// The row with more fields set.
inline NamedRow with(NamedRow row, const NamedRow& more) {
  row.insert(more.begin(), more.end());
  return row;
}

// CliFor with the given ids: the joins of the document blocks need no more of it.
inline TestTable clifor_table(const std::vector<std::int32_t>& ids) {
  std::vector<NamedRow> rows;
  for (std::int32_t id : ids) rows.push_back({{"idCliFor", L(id)}, {"RagioneSociale1", T(u"Ditta")}});
  return named_table("CliFor", {{"idCliFor", FieldType::Long}, {"RagioneSociale1", FieldType::Text}},
                     {"idCliFor"}, rows);
}

inline archive::Value I16(std::int16_t v) { return archive::Value::integer(v); }
inline archive::Value Sgl(float v) { return archive::Value::single(v); }
inline archive::Value Dbl(double v) { return archive::Value::double_(v); }
inline archive::Value Bool(bool v) { return archive::Value::boolean(v); }
inline archive::Value Money(double v) {
  return archive::Value::currency({static_cast<std::int64_t>(std::llround(v * 10000.0))});
}
// A Date/Time value: days since 1899-12-30, the time of day as the fraction.
inline archive::Value Date(int y, unsigned m, unsigned d, int hour = 0, int minute = 0) {
  using namespace std::chrono;
  const sys_days day{year{y} / month{m} / d};
  const sys_days epoch{year{1899} / December / 30};
  const double days = static_cast<double>((day - epoch).count()) + (hour * 60 + minute) / 1440.0;
  return archive::Value::datetime({days});
}

}  // namespace tarvik::test
