#include "report/join_keys.h"

#include "archive/sql/compare.h"

namespace tarvik::report {

std::string JoinKey(const archive::Value& value) {
  std::string key;
  archive::sql::append_key(key, value);
  return key;
}

JoinKeys JoinKeys::Of(archive::Database& archive, const std::string& table, const std::string& column) {
  JoinKeys keys;
  auto rows = archive.open_snapshot("SELECT " + column + " FROM " + table);
  for (; !rows->eof(); rows->move_next()) keys.add(rows->field(column));
  rows->close();
  return keys;
}

}  // namespace tarvik::report
