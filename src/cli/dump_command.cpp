// `dump ARCHIVE TABLE`: the table as JSON lines, compact and UTF-8. The first line describes the
// columns, `{"table":NAME,"columns":[[name,type,size],...]}`; then one object per row, in scan
// order, column name to canonical value, in column order.
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/jet/jet_file.h"
#include "archive/jet/page_source.h"
#include "cli/buffered_output.h"
#include "cli/canonical_json.h"
#include "cli/column_size.h"
#include "cli/command.h"

namespace tarvik::cli {
namespace {

using archive::jet::JetFile;
using archive::jet::TableDef;

void append_header_line(std::string& line, const TableDef& table, bool jet3) {
  line += "{\"table\":";
  append_json_string_utf8(line, table.name);
  line += ",\"columns\":[";
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    const auto& column = table.columns[i];
    if (i > 0) line += ',';
    line += '[';
    append_json_string_utf8(line, column.name);
    line += ",\"";
    line += archive::jet::type_name(column.type);
    line += "\",";
    line += std::to_string(column_size(column, jet3));
    line += ']';
  }
  line += "]}";
}

// `{"name":` for the first column, `,"name":` for the others: built once, not per row.
std::vector<std::string> member_prefixes(const TableDef& table) {
  std::vector<std::string> prefixes;
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    std::string prefix(i == 0 ? "{" : ",");
    append_json_string_utf8(prefix, table.columns[i].name);
    prefix += ':';
    prefixes.push_back(std::move(prefix));
  }
  return prefixes;
}

}  // namespace

int run_dump_command(CommandArgs args, CommandIo& io) {
  expect_arguments(args, 2);
  const auto file = JetFile::open(args[0]);
  const TableDef table = file->table(args[1]);
  const bool jet3 = file->pages().format().jet3;

  BufferedOutput out(io.out);
  append_header_line(out.text(), table, jet3);
  out.end_line();

  const std::vector<std::string> prefixes = member_prefixes(table);
  auto scan = file->scan(table);
  std::vector<archive::Value> row;
  while (scan.next(row)) {
    if (row.size() != prefixes.size())
      throw std::logic_error("the scan gave " + std::to_string(row.size()) + " values for " +
                             std::to_string(prefixes.size()) + " columns");
    std::string& line = out.text();
    if (prefixes.empty()) line += '{';
    for (std::size_t i = 0; i < prefixes.size(); ++i) {
      line += prefixes[i];
      append_canonical_value(line, row[i]);
    }
    line += '}';
    out.end_line();
  }
  out.flush();
  return kExitOk;
}

}  // namespace tarvik::cli
