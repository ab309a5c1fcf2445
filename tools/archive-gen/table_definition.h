// A table definition (TDEF), Jet3's or Jet4's: the header with its counts and usage-map pointers,
// then the column descriptors and names (Jet3: bytes of the code page after a one-byte length;
// Jet4: UCS-2 after a two-byte one), the physical and logical index entries and their names, and
// the FF FF terminator. A definition longer than a page continues on further TDEF pages. Dropped
// columns have no descriptor, but the counts of column numbers and offset-table slots keep them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "column_layout.h"
#include "page_file.h"

namespace tarvik::archive_gen {

// One index, both as its physical entry and as the logical entry naming it.
struct IndexDefinition {
  std::u16string name;
  std::vector<std::uint16_t> column_numbers;  // ascending keys
  std::uint32_t usage_map = 0;                // pg_row of the map listing the index pages
  std::uint32_t root_page = 0;
  bool primary_key = false;
  std::uint8_t flags = 0;  // 0x01 unique, 0x08 required, 0x80 set by Access 2000 and later
};

struct TableDefinition {
  bool system = false;
  std::uint32_t row_count = 0;
  std::uint32_t last_autonumber = 0;
  std::vector<ColumnLayout> columns;  // descriptor order
  std::uint16_t max_columns = 0;      // column numbers given, dropped ones included
  std::uint16_t var_count = 0;        // offset-table slots, dropped ones included
  std::vector<IndexDefinition> indexes;
  std::uint32_t owned_pages_map = 0;  // pg_row
  std::uint32_t free_pages_map = 0;   // pg_row
};

// The definition as one logical buffer (the first page's bytes followed by the continuation
// pages' bytes from offset 8). Its length depends only on the columns and indexes.
std::vector<std::uint8_t> build_table_definition(const WriteFormat& format,
                                                 const TableDefinition& def);

// Pages the logical buffer takes.
std::uint32_t table_definition_pages(const WriteFormat& format, std::size_t logical_length);

// Writes the buffer over `pages` (as many as table_definition_pages says), chaining them.
void write_table_definition(PageFile& file, std::span<const std::uint32_t> pages,
                            std::span<const std::uint8_t> logical);

}  // namespace tarvik::archive_gen
