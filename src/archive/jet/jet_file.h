// A Jet archive opened for reading: the header, the catalog of objects, table definitions and
// full scans of a table's rows in physical order. The file is read by position, never written;
// pages are decrypted on access when the database is encrypted. Every structure read from the file
// is checked before use: a damaged file raises ArchiveError, never a crash or a runaway loop.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "archive/jet/table_def.h"
#include "archive/value.h"

namespace tarvik::archive::jet {

class PageSource;
struct DatabaseHeader;

// One row of MSysObjects, the catalog.
struct CatalogEntry {
  std::string name;
  std::int32_t id = 0;
  std::int32_t parent_id = 0;
  std::int16_t type = 0;
  std::uint32_t flags = 0;

  static constexpr std::int16_t kLocalTable = 1;
  static constexpr std::uint32_t kSystemFlags = 0x80000002u;

  bool is_table() const { return type == kLocalTable; }
  bool is_user_table() const { return is_table() && (flags & kSystemFlags) == 0; }
  std::uint32_t tdef_page() const { return static_cast<std::uint32_t>(id) & 0x00FFFFFFu; }
};

class JetFile;

// A full scan of one table: data pages in usage-map order, rows in row-number order within a
// page; deleted rows skipped; a row moved to another page is read through its pointer at its
// original place. Rows come out as values in column-number order.
class TableScan {
 public:
  TableScan(const JetFile& file, const TableDef& table);
  ~TableScan();
  TableScan(TableScan&&) noexcept;
  TableScan& operator=(TableScan&&) = delete;

  // Fills `row` with the next row's values (one per column) and returns true; false at the end.
  bool next(std::vector<Value>& row);

  // Counts the rows from here to the end without cutting them into columns: the rows the scan
  // would return (live rows and the rows moved away, reached through their pointers), so the
  // count equals that of next() to the end. Leaves the scan at its end.
  std::int64_t count_rest();

  // Decodes only the columns marked true (by position); the others read as null. Reading fewer
  // columns is faster, and a damaged value in a column nobody asked for stops nothing.
  void select_columns(std::vector<bool> wanted);

  // Where the row last returned by next() lives, as a row pointer ((page << 8) | row); a moved
  // row answers with its original place. read_at() reads such a row again directly, so a keyed
  // look-up can remember row pointers instead of rows.
  std::uint32_t row_pointer() const;
  void read_at(std::uint32_t row_pointer, std::vector<Value>& row);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

class JetFile {
 public:
  // Opens the archive read-only. Throws ArchiveError: 3024 missing, 3051 unreadable,
  // 3343 not a Jet archive, 3049 damaged.
  static std::unique_ptr<JetFile> open(const std::string& path);
  // Over a copy of bytes in memory (the fuzzer and tests of damaged files).
  static std::unique_ptr<JetFile> from_memory(std::vector<std::uint8_t> bytes, const std::string& name);
  ~JetFile();

  const DatabaseHeader& header() const;
  const PageSource& pages() const { return *pages_; }

  // Every catalog row, in the order of the catalog's scan.
  const std::vector<CatalogEntry>& catalog() const { return catalog_; }
  // Names of the user tables, in catalog order.
  std::vector<std::string> user_table_names() const;
  // The definition of a table (system tables too), its name matched without regard to case.
  // Throws 3078 when there is none.
  TableDef table(std::string_view name) const;
  // The definition read from a given TDEF page.
  TableDef table_at(std::uint32_t tdef_page, std::string name) const;

  TableScan scan(const TableDef& table) const { return TableScan(*this, table); }
  // The rows a scan of `table` returns, counted where they stand (count_rest) the first time and
  // remembered: the archive is open read-only, so the count stays right for the next query.
  std::int64_t row_count(const TableDef& table) const;

 private:
  explicit JetFile(std::unique_ptr<PageSource> pages);
  std::unique_ptr<PageSource> pages_;
  std::vector<CatalogEntry> catalog_;
  // Shared by every thread counting rows: owned by the file, under row_counts_mutex_.
  mutable std::mutex row_counts_mutex_;
  mutable std::map<std::uint32_t, std::int64_t> row_counts_;  // by TDEF page
};

}  // namespace tarvik::archive::jet
