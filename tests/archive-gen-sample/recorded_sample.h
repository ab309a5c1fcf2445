// A sample archive generated into memory, for tests that look at the rows themselves.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "archive-gen/sample/row_sink.h"
#include "archive-gen/sample/sample_generator.h"
#include "archive-gen/sample/tarvik_schema.h"

namespace tarvik::archive_gen::sample::testing {

using Row = std::vector<archive::Value>;

class RecordedSample final : public RowSink {
 public:
  explicit RecordedSample(const SampleOptions& options);

  void add_row(std::size_t table, std::span<const archive::Value> row) override;

  const SampleSchema& schema() const { return schema_; }
  const std::vector<TableRowCount>& counts() const { return counts_; }
  const std::vector<Row>& rows(std::string_view table) const;
  // Position of a column in its table's rows; -1 when the table lacks it.
  int column(std::string_view table, std::string_view name) const;
  // The values of one column over all rows of a table.
  std::vector<archive::Value> values(std::string_view table, std::string_view name) const;
  // The non-null values of a column, as a set of Long ids or texts.
  std::set<std::int32_t> long_set(std::string_view table, std::string_view name) const;
  std::set<std::u16string> text_set(std::string_view table, std::string_view name) const;

 private:
  SampleSchema schema_;
  std::vector<std::vector<Row>> tables_;
  std::vector<TableRowCount> counts_;
};

}  // namespace tarvik::archive_gen::sample::testing
