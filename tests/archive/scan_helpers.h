// Small helpers for tests that scan whole tables.
#pragma once

#include <string>
#include <vector>

#include "archive/jet/jet_file.h"
#include "archive/jet/text_codec.h"
#include "common/utf8.h"

namespace tarvik::test {

using archive::Value;

inline std::vector<std::vector<Value>> scan_all(const archive::jet::JetFile& file,
                                                const std::string& table) {
  auto def = file.table(table);
  auto scan = file.scan(def);
  std::vector<std::vector<Value>> rows;
  std::vector<Value> row;
  while (scan.next(row)) rows.push_back(row);
  return rows;
}

inline std::string text_of(const Value& v) {
  return v.kind() == archive::ValueKind::Text ? tarvik::utf16_to_utf8(v.as_text()) : "<not text>";
}

}  // namespace tarvik::test
