#include "cli/query_command.h"

#include <string>
#include <vector>

#include "archive/database.h"
#include "archive/jet/jet_file.h"
#include "cli/buffered_output.h"
#include "cli/canonical_json.h"
#include "cli/column_size.h"

namespace tarvik::cli {

int run_query_command(CommandArgs args, CommandIo& io) {
  expect_arguments(args, 2);
  const auto db = archive::Database::open(args[0]);
  const bool jet3 = db->jet3();
  const auto rs = db->open_snapshot(args[1]);
  const std::vector<archive::FieldInfo>& fields = rs->fields();

  BufferedOutput out(io.out);
  std::string& header = out.text();
  header += "{\"query\":";
  append_json_string_utf8(header, args[1]);
  header += ",\"columns\":[";
  std::vector<std::string> prefixes;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    archive::jet::Column column;
    column.type = fields[i].type;
    column.length = fields[i].size;
    if (i > 0) header += ',';
    header += '[';
    append_json_string_utf8(header, fields[i].name);
    header += ",\"";
    header += archive::jet::type_name(column.type);
    header += "\",";
    header += std::to_string(column_size(column, jet3));
    header += ']';
    std::string prefix(i == 0 ? "{" : ",");
    append_json_string_utf8(prefix, fields[i].name);
    prefix += ':';
    prefixes.push_back(std::move(prefix));
  }
  header += "]}";
  out.end_line();

  if (!(rs->bof() && rs->eof())) {
    rs->move_last();
    rs->move_first();
  }
  for (; !rs->eof(); rs->move_next()) {
    std::string& line = out.text();
    if (prefixes.empty()) line += '{';
    for (std::size_t i = 0; i < prefixes.size(); ++i) {
      line += prefixes[i];
      append_canonical_value(line, rs->field(i));
    }
    line += '}';
    out.end_line();
  }
  out.flush();
  rs->close();
  db->close();
  return kExitOk;
}

}  // namespace tarvik::cli
