#include "report/left_out_reads.h"

#include <algorithm>
#include <vector>

#include "archive/side_reads.h"

namespace tarvik::report {

archive::KeyLookup JoinIndex(archive::Database& archive, const RuleJoin& join) {
  return archive::SideReads(archive).key_lookup(join.table, join.key);
}

bool KeyIsUnique(archive::Database& archive, std::string_view table, std::string_view column) {
  return archive::SideReads(archive).has_unique_index(table, column);
}

std::string RuleQuery(const LeftOutRule& rule) {
  std::vector<std::string_view> columns = {rule.key};
  const auto add = [&columns](std::string_view column) {
    if (std::find(columns.begin(), columns.end(), column) == columns.end()) columns.push_back(column);
  };
  for (const ListedColumn& listed : rule.listed) add(listed.column);
  for (const RuleJoin& join : rule.joins) add(join.column);
  std::string sql = "SELECT ";
  for (std::string_view column : columns) sql.append(column).append(", ");
  sql.resize(sql.size() - 2);
  sql.append(" FROM ").append(rule.table);
  if (!rule.condition.empty()) sql.append(" WHERE ").append(rule.condition);
  return sql;
}

std::unique_ptr<archive::Recordset> OpenRuleRows(archive::Database& archive, const std::string& sql,
                                                 const archive::UnmatchedRows* only) {
  return only ? archive::SideReads(archive).open_snapshot_at(sql, only->pointers) : archive.open_snapshot(sql);
}

}  // namespace tarvik::report
