#include "report/duplicate_rows.h"

#include <cstdint>
#include <string>
#include <unordered_map>

#include "report/join_keys.h"
#include "report/value_text.h"

namespace tarvik::report {

namespace {

// Join key: how often the join's target holds it, for the keys it holds more than once.
std::unordered_map<std::string, std::int32_t> repeated_keys(archive::Database& archive, const RuleJoin& join) {
  const std::string column(join.key);
  const archive::sql::TextOrder order = archive.text_order();
  std::unordered_map<std::string, std::int32_t> repeated;
  auto groups = archive.open_snapshot("SELECT " + column + ", COUNT(*) AS Volte FROM " + std::string(join.table) +
                                      " GROUP BY " + column + " HAVING COUNT(*) > 1");
  for (; !groups->eof(); groups->move_next())
    if (!groups->field(column).is_null())
      repeated[JoinKey(groups->field(column), order)] = groups->field("Volte").as_long();
  groups->close();
  return repeated;
}

}  // namespace

void ListDuplicates(archive::Database& archive, const LeftOutRule& rule, BlockReport& report) {
  const archive::sql::TextOrder order = archive.text_order();
  const std::string key(rule.key);
  for (const RuleJoin& join : rule.joins) {
    const auto repeated = repeated_keys(archive, join);
    if (repeated.empty()) continue;
    const std::string column(join.column);
    auto rows = archive.open_snapshot("SELECT " + key + ", " + column + " FROM " + std::string(rule.table));
    for (; !rows->eof(); rows->move_next()) {
      const archive::Value& reference = rows->field(column);
      if (reference.is_null()) continue;
      auto found = repeated.find(JoinKey(reference, order));
      if (found == repeated.end()) continue;
      const std::string times = std::to_string(found->second);
      report.duplicates.add({key + " " + ValueText(rows->field(key)),
                             column + " " + ValueText(reference) + " presente " + times + " volte in " +
                                 std::string(join.table) + ": scritta " + times + " volte"});
    }
    rows->close();
  }
}

}  // namespace tarvik::report
