// Writes a Jet archive, Jet4 (Access 2000-2003) or Jet3 (Access 97): page 0 with its masked
// header, the system catalog, one table definition per table with its columns and PrimaryKey
// index, usage maps, data pages filled in the order rows are given, long values on LVAL pages.
// Fresh, the file is laid out as a new one; aged, it holds the same rows in the same scan order
// among what years of edits leave (physical_layout.h). Rows are streamed: a table of millions of
// rows is written without holding it in memory. The same input and options give the same bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "archive/jet/table_def.h"
#include "archive/value.h"
#include "physical_layout.h"
#include "write_format.h"

namespace tarvik::archive_gen {

struct ColumnSpec {
  std::string name;
  archive::FieldType type = archive::FieldType::Text;
  std::uint16_t text_size = 50;  // characters, for Text columns (1..255)
  bool autonumber = false;       // Long columns only
};

struct TableSpec {
  std::string name;
  std::vector<ColumnSpec> columns;
  std::vector<std::string> primary_key;  // column names; empty for none
};

struct WriterOptions {
  // Written in the header and as the catalog's dates. A constant, never the clock, so that the
  // same rows give the same bytes. Default: 2004-01-01 00:00.
  archive::DateTime creation_date{37987.0};
  FileFormat format = FileFormat::Jet4;
  Layout layout = Layout::Fresh;
  std::uint64_t layout_seed = 1;  // the aged layout's choices
};

class JetWriter {
 public:
  // Creates (replaces) `path`; all tables are declared up front. Throws std::runtime_error with
  // a message naming the table and column on a bad declaration.
  JetWriter(const std::string& path, std::vector<TableSpec> tables, WriterOptions options = {});
  // Without finish() (after an error), the partly written file is removed.
  ~JetWriter();
  JetWriter(const JetWriter&) = delete;
  JetWriter& operator=(const JetWriter&) = delete;

  // Appends a row to table `table` (index into the declared tables), one value per column in
  // declaration order. A value must match its column's type (null is allowed but see below); a text
  // longer than its size is refused. Throws std::runtime_error naming table, row and column.
  // Jet keeps booleans in the null mask, so a null boolean is refused; so is a null in a
  // primary-key column and a repeated primary key. A null in an autonumber column is given the
  // next number (one more than the largest so far). A Jet3 archive refuses a text that
  // Windows-1252 cannot hold. After an exception the row is not added and the writer can go on.
  void add_row(std::size_t table, std::span<const archive::Value> row);

  // A row of table `table` that was deleted: its bytes stay on the page, flagged deleted, among
  // the live rows (where the next live row would go), as Jet leaves them. Checked as add_row checks
  // a row, but for its key: a deleted row may repeat a live one.
  void add_deleted_row(std::size_t table, std::span<const archive::Value> row);

  // Rows added to a table so far.
  std::uint64_t row_count(std::size_t table) const;

  // Writes the definitions, usage maps and catalog and closes the file. Throws
  // std::runtime_error when the file would pass Jet's size limit (as add_row does).
  void finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tarvik::archive_gen
