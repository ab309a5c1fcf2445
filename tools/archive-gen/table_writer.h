// One table's rows on their way to the file: checks each row against the columns, keeps the
// primary keys and the autonumber, packs the row and puts it on the table's current data page,
// which goes to the file as soon as the next row does not fit. Nothing but the open pages and
// the key set stays in memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "archive/value.h"
#include "column_layout.h"
#include "data_page.h"
#include "jet4_writer.h"
#include "long_value_writer.h"
#include "page_file.h"
#include "primary_key_set.h"
#include "row_packer.h"

namespace tarvik::archive_gen {

class TableWriter {
 public:
  TableWriter(PageFile& file, const TableSpec& spec, std::uint32_t tdef_page);
  TableWriter(const TableWriter&) = delete;
  TableWriter& operator=(const TableWriter&) = delete;

  // Throws std::runtime_error naming the table, the row (from 1) and the column.
  void add_row(std::span<const archive::Value> row);
  // Writes the pages still open.
  void flush();

  const TableSpec& spec() const { return spec_; }
  const TableLayout& layout() const { return layout_; }
  std::uint32_t tdef_page() const { return tdef_page_; }
  const std::vector<std::uint32_t>& data_pages() const { return data_pages_; }
  std::uint64_t row_count() const { return row_count_; }
  std::int32_t last_autonumber() const { return last_autonumber_; }
  const std::vector<std::size_t>& key_columns() const { return key_columns_; }

 private:
  [[noreturn]] void refuse(const std::string& column, const std::string& why) const;
  void place(std::span<const std::uint8_t> row);

  PageFile& file_;
  const TableSpec& spec_;
  TableLayout layout_;
  std::uint32_t tdef_page_;
  std::vector<std::size_t> key_columns_;
  std::vector<bool> in_key_;
  PrimaryKeySet keys_;
  RowPacker packer_;
  LongValueWriter long_values_;
  DataPage page_;
  bool page_open_ = false;
  std::vector<std::uint32_t> data_pages_;
  std::uint64_t row_count_ = 0;
  std::int32_t last_autonumber_ = 0;
  bool any_autonumber_ = false;
  std::vector<archive::Value> filled_;  // a row whose autonumber was given here
};

}  // namespace tarvik::archive_gen
