// One table's rows on their way to the file: checks each row against the columns, keeps the
// primary keys and the autonumber, packs the row and puts it on the table's current data page,
// which goes to the file as soon as the next row does not fit. In an aged archive the same rows
// come with what edits leave: deleted rows before some of them, some moved to an overflow page
// behind a pointer, old rows without the added columns, pages left part empty. Nothing but the
// open pages and the key set stays in memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "archive/value.h"
#include "column_layout.h"
#include "data_page.h"
#include "jet_writer.h"
#include "long_value_writer.h"
#include "page_file.h"
#include "physical_layout.h"
#include "primary_key_set.h"
#include "row_packer.h"

namespace tarvik::archive_gen {

class TableWriter {
 public:
  TableWriter(PageFile& file, PhysicalLayout& physical, const TableSpec& spec,
              std::uint32_t tdef_page);
  TableWriter(const TableWriter&) = delete;
  TableWriter& operator=(const TableWriter&) = delete;

  // Throws std::runtime_error naming the table, the row (from 1) and the column.
  void add_row(std::span<const archive::Value> row);
  // A row deleted since it was written: its bytes stay on the page, flagged, where the next live
  // row would go. Its values are checked as a live row's, its key is not (a deleted row may repeat
  // a live one).
  void add_deleted_row(std::span<const archive::Value> row);
  // Writes the pages still open.
  void flush();

  const TableSpec& spec() const { return spec_; }
  const TableLayout& layout() const { return layout_; }
  std::uint32_t tdef_page() const { return tdef_page_; }
  // Every data page the table owns, ascending.
  std::vector<std::uint32_t> owned_pages() const;
  std::uint64_t row_count() const { return row_count_; }
  std::int32_t last_autonumber() const { return last_autonumber_; }
  const std::vector<std::size_t>& key_columns() const { return key_columns_; }

 private:
  [[noreturn]] void refuse(const std::string& column, const std::string& why) const;
  void check_values(std::span<const archive::Value> row, bool deleted);
  bool is_old_row(std::span<const archive::Value> values);
  void place(std::span<const std::uint8_t> row, std::uint16_t flags = 0);
  // Puts a moved row's body on the overflow page; returns its row pointer.
  std::uint32_t place_moved(std::span<const std::uint8_t> row);
  void write_page(std::uint32_t number, const DataPage& page);

  PageFile& file_;
  PhysicalLayout& physical_;
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
  std::size_t page_limit_ = 0;  // free space the open page keeps
  std::vector<std::uint32_t> data_pages_;
  DataPage overflow_;
  std::uint32_t overflow_number_ = 0;
  bool overflow_open_ = false;
  std::vector<std::uint32_t> overflow_pages_;
  std::vector<std::uint8_t> packed_, previous_;  // aged archives: this row's and the last one's bytes
  std::uint64_t row_count_ = 0;
  std::int32_t last_autonumber_ = 0;
  bool any_autonumber_ = false;
  std::vector<archive::Value> filled_;  // a row whose autonumber was given here
};

}  // namespace tarvik::archive_gen
