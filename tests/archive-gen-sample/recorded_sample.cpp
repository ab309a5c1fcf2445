#include "recorded_sample.h"

#include <stdexcept>

namespace tarvik::archive_gen::sample::testing {

RecordedSample::RecordedSample(const SampleOptions& options)
    : schema_(tarvik_schema(options.outdated)), tables_(schema_.tables.size()) {
  counts_ = generate_sample(options, schema_, *this);
}

void RecordedSample::add_row(std::size_t table, std::span<const archive::Value> row) {
  tables_.at(table).emplace_back(row.begin(), row.end());
}

const std::vector<Row>& RecordedSample::rows(std::string_view table) const {
  return tables_[schema_.table_index(table)];
}

int RecordedSample::column(std::string_view table, std::string_view name) const {
  const TableSpec& spec = schema_.tables[schema_.table_index(table)];
  for (std::size_t i = 0; i < spec.columns.size(); ++i) {
    if (spec.columns[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

std::vector<archive::Value> RecordedSample::values(std::string_view table, std::string_view name) const {
  const int c = column(table, name);
  if (c < 0) throw std::logic_error("no column " + std::string(name));
  std::vector<archive::Value> out;
  for (const Row& row : rows(table)) out.push_back(row[static_cast<std::size_t>(c)]);
  return out;
}

std::set<std::int32_t> RecordedSample::long_set(std::string_view table, std::string_view name) const {
  std::set<std::int32_t> out;
  for (const archive::Value& v : values(table, name)) {
    if (!v.is_null()) out.insert(v.as_long());
  }
  return out;
}

std::set<std::u16string> RecordedSample::text_set(std::string_view table, std::string_view name) const {
  std::set<std::u16string> out;
  for (const archive::Value& v : values(table, name)) {
    if (!v.is_null()) out.insert(v.as_text());
  }
  return out;
}

}  // namespace tarvik::archive_gen::sample::testing
