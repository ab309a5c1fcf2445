// One row of one table, filled by column name. Generators name the columns in about the order the
// table declares them, so a lookup starts where the last one ended and is nearly always one compare.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "archive/value.h"
#include "tarvik_schema.h"

namespace tarvik::archive_gen::sample {

class RowBuilder {
 public:
  RowBuilder(const SampleSchema& schema, std::string_view table);

  std::size_t table() const { return table_; }
  const TableSpec& spec() const { return *spec_; }

  // Every column back to null, Yes/No columns to false.
  void clear();

  // Sets a column. A column the schema lacks, or a value of another type than the column's, is a
  // mistake of the generator (std::logic_error); a column this archive dropped on purpose is skipped.
  void set(std::string_view column, archive::Value value);
  // Text cut to the column's size, never between the halves of a surrogate pair, as a form would.
  void set_text(std::string_view column, std::u16string text);
  void set_null(std::string_view column) { set(column, archive::Value()); }

  const std::vector<archive::Value>& values() const { return values_; }

 private:
  // Position of `column`, or -1 when the archive dropped it.
  int find(std::string_view column);
  void assign(int index, archive::Value value);

  const SampleSchema* schema_;
  const TableSpec* spec_;
  std::size_t table_;
  std::vector<archive::Value> values_;
  std::size_t cursor_ = 0;
};

}  // namespace tarvik::archive_gen::sample
