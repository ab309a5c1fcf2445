#include "report/left_out_reason.h"

#include "report/value_text.h"

namespace tarvik::report {

namespace {

// Why `reference`, not null, found no row written among `target`'s keys.
std::string not_found(const JoinTarget& target, const archive::Value& reference) {
  const RuleJoin& join = *target.join;
  std::string reason = std::string(join.noun) + " " + ShownValue(reference, join.shown);
  if (!target.kept || !target.kept->all.finds(reference)) return reason + " inesistente";
  reason.append(" ").append(join.not_written);
  if (const std::string* cause = join.with_cause ? target.kept->cause(reference) : nullptr)
    reason.append(" (").append(*cause).append(")");
  return reason;
}

}  // namespace

std::string ShownValue(const archive::Value& value, Shown shown) {
  if (shown == Shown::Quoted && !value.is_null()) return "'" + ValueText(value) + "'";
  return ValueText(value);  // a null reads "(vuoto)" either way
}

std::string ListedKey(const LeftOutRule& rule, archive::Recordset& rows) {
  std::string key = std::string(rule.key) + " " + ValueText(rows.field(rule.key));
  for (const ListedColumn& listed : rule.listed) {
    const archive::Value& value = rows.field(listed.column);
    if (listed.omitted_when_null && value.is_null()) continue;
    key.append(listed.separator);
    if (!listed.label.empty()) key.append(listed.label).append(" ");
    key += ShownValue(value, listed.shown);
  }
  return key;
}

std::string WhyLeftOut(std::span<const JoinTarget> joins, archive::Recordset& rows) {
  std::string reason;
  for (const JoinTarget& target : joins) {
    const archive::Value& reference = rows.field(target.join->column);
    if (target.index ? target.index->finds(reference) : target.kept->written.finds(reference)) continue;
    if (!reason.empty()) reason += "; ";
    reason += reference.is_null() ? std::string(target.join->column) + " vuoto" : not_found(target, reference);
  }
  return reason;
}

}  // namespace tarvik::report
