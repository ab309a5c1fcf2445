// `tables ARCHIVE`: each user table in catalog order with its row count (counted by a full scan;
// the definition's own count is shown too when it differs) and its columns, one a line:
//
//   Orders: 830 rows
//     OrderID     long      4
//     CustomerID  text      5
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/jet/jet_file.h"
#include "archive/jet/page_source.h"
#include "cli/buffered_output.h"
#include "cli/column_size.h"
#include "cli/command.h"

namespace tarvik::cli {
namespace {

using archive::jet::JetFile;
using archive::jet::TableDef;

// Characters, not bytes, so accented names line up.
std::size_t display_width(const std::string& utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void pad_to(std::string& line, std::size_t used, std::size_t width) {
  if (used < width) line.append(width - used, ' ');
}

std::uint64_t count_rows(const JetFile& file, const TableDef& table) {
  std::uint64_t rows = 0;
  auto scan = file.scan(table);
  std::vector<archive::Value> row;
  while (scan.next(row)) ++rows;
  return rows;
}

void print_table(BufferedOutput& out, const JetFile& file, const TableDef& table, bool jet3) {
  const std::uint64_t rows = count_rows(file, table);
  std::string& line = out.text();
  line += table.name + ": " + std::to_string(rows) + (rows == 1 ? " row" : " rows");
  if (rows != table.row_count)
    line += " (the table definition says " + std::to_string(table.row_count) + ")";
  out.end_line();

  std::size_t name_width = 0;
  std::size_t type_width = 0;
  for (const auto& column : table.columns) {
    name_width = std::max(name_width, display_width(column.name));
    type_width = std::max(type_width, std::string(archive::jet::type_name(column.type)).size());
  }
  for (const auto& column : table.columns) {
    const std::string type = archive::jet::type_name(column.type);
    std::string& text = out.text();
    text += "  " + column.name;
    pad_to(text, display_width(column.name), name_width + 2);
    text += type;
    pad_to(text, type.size(), type_width + 2);
    text += std::to_string(column_size(column, jet3));
    out.end_line();
  }
}

}  // namespace

int run_tables_command(CommandArgs args, CommandIo& io) {
  expect_arguments(args, 1);
  const auto file = JetFile::open(args[0]);
  const bool jet3 = file->pages().format().jet3;

  BufferedOutput out(io.out);
  const std::vector<std::string> names = file->user_table_names();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out.end_line();
    print_table(out, *file, file->table(names[i]), jet3);
  }
  out.flush();
  return kExitOk;
}

}  // namespace tarvik::cli
