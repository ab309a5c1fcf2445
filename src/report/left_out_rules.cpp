#include "report/left_out_rules.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "report/duplicate_rows.h"
#include "report/left_out_reads.h"

namespace tarvik::report {

namespace {

using archive::Recordset;

// The reason a row of the block is left out, or none when the export writes it.
using ExamineRow = std::function<std::optional<ListedRow>(Recordset& rows)>;

struct Scan {
  std::int64_t rows = 0;  // rows of the block's own table read
  bool stopped = false;   // ended early: the list was full and the count known otherwise
};

// Reads `sql` and lists the rows `examine` finds left out. When the caller knows how many there
// are (`known`), reading ends once the list is full or all of them are listed. With `only`, the
// rows the block's query gave no record are read alone: the others were written, so they are
// counted as read without being read again.
Scan scan(archive::Database& archive, const std::string& sql, const archive::UnmatchedRows* only, BlockReport& report,
          std::optional<std::int64_t> known, const ExamineRow& examine) {
  Scan result;
  auto rows = OpenRuleRows(archive, sql, only);
  for (; !rows->eof(); rows->move_next()) {
    ++result.rows;
    std::optional<ListedRow> left_out = examine(*rows);
    if (!left_out) continue;
    if (report.left_out.shown().size() < kEntriesShown) {
      report.left_out.add(std::move(*left_out));
      if (known && report.left_out.count() >= *known) {
        result.stopped = true;
        break;
      }
    } else if (known) {
      result.stopped = true;
      break;
    } else {
      report.left_out.add_unlisted(1);
    }
  }
  rows->close();
  if (only) result.rows = only->rows_read;
  return result;
}

bool all_unique(archive::Database& archive, const std::vector<RuleJoin>& joins) {
  return std::ranges::all_of(joins,
                             [&archive](const RuleJoin& join) { return KeyIsUnique(archive, join.table, join.key); });
}

// With every target a unique key (and those its kept rows joined to), each row is written at most
// once, so the rows left out are the table's rows less the records written: the count is known,
// and the table is read only as far as the list needs. Not so when every row must be read: its
// rows are kept for a later block, or only some rows of its table are the block's.
std::optional<std::int64_t> known_left_out(archive::Database& archive, const LeftOutRule& rule,
                                           const BlockReport& report, const TableCounts& counts) {
  if (rule.keeps_rows || !rule.condition.empty()) return std::nullopt;
  bool unique = all_unique(archive, rule.joins);
  for (const RuleJoin& join : rule.joins)
    if (join.finds == Finds::KeptRows) unique = unique && all_unique(archive, rule_for(join.table)->joins);
  const auto own = counts.find(rule.table);
  if (!unique || own == counts.end()) return std::nullopt;
  return own->second - report.written;
}

std::string index_name(const RuleJoin& join) { return std::string(join.table) + "." + std::string(join.key); }

}  // namespace

void LeftOutFinder::Find(archive::Database& archive, BlockReport& report, const TableCounts& counts) {
  const LeftOutRule* rule = rule_for(report.name);
  if (rule) Examine(archive, *rule, report, counts);
  report.unmatched.reset();
  if (rule) LetGo(*rule);
}

void LeftOutFinder::Examine(archive::Database& archive, const LeftOutRule& rule, BlockReport& report,
                            const TableCounts& counts) {
  // The rows the block's query gave no record, when its walk noted them and the rule reads the
  // query's own leftmost table without a condition of its own: the rows left out are among them.
  const archive::UnmatchedRows* only = report.unmatched && rule.condition.empty() ? &*report.unmatched : nullptr;
  const std::vector<JoinTarget> targets = Targets(archive, rule, only == nullptr);
  KeptRows* keeping = nullptr;
  if (rule.keeps_rows)
    keeping = &kept_.insert_or_assign(std::string(rule.block), KeptRows(archive.text_order(), only == nullptr))
                   .first->second;
  const std::optional<std::int64_t> known = known_left_out(archive, rule, report, counts);
  if (known && *known <= 0) return;

  const ExamineRow examine = [&](Recordset& rows) -> std::optional<ListedRow> {
    std::string reason = WhyLeftOut(targets, rows);
    if (keeping) keeping->Note(rows.field(rule.key), reason);
    if (reason.empty()) return std::nullopt;
    return ListedRow{ListedKey(rule, rows), std::move(reason)};
  };
  const Scan read = scan(archive, RuleQuery(rule), only, report, known, examine);
  if (read.stopped) {
    report.left_out.add_unlisted(std::max<std::int64_t>(0, *known - report.left_out.count()));
    return;
  }
  // Every row not left out is written once per match, so the records beyond that number are copies.
  const std::int64_t extra = report.written - (read.rows - report.left_out.count());
  if (extra <= 0) return;
  report.extra_copies = extra;
  // The list may miss copies made by a join further away (a header's customer held twice); the
  // count of copies does not.
  ListDuplicates(archive, rule, report);
}

std::vector<JoinTarget> LeftOutFinder::Targets(archive::Database& archive, const LeftOutRule& rule, bool every_row) {
  std::vector<JoinTarget> targets;
  for (const RuleJoin& join : rule.joins) {
    JoinTarget target{&join};
    if (join.finds == Finds::Index) target.index = &Index(archive, join);
    else target.kept = &Kept(archive, join.table, every_row);
    targets.push_back(target);
  }
  return targets;
}

const archive::KeyLookup& LeftOutFinder::Index(archive::Database& archive, const RuleJoin& join) {
  const std::string name = index_name(join);
  auto found = indexes_.find(name);
  if (found == indexes_.end()) found = indexes_.emplace(name, JoinIndex(archive, join)).first;
  return found->second;
}

// As the block's own rule kept them, or read now, every row; read whole again when every row is
// asked and only those the block's query noted were kept.
const KeptRows& LeftOutFinder::Kept(archive::Database& archive, std::string_view block, bool every_row) {
  if (auto found = kept_.find(block); found != kept_.end() && (found->second.complete || !every_row))
    return found->second;
  const LeftOutRule& rule = *rule_for(block);  // the rules' test holds every joined block to a rule
  KeptRows kept(archive.text_order(), true);
  const std::vector<JoinTarget> targets = Targets(archive, rule, true);
  auto rows = OpenRuleRows(archive, RuleQuery(rule), nullptr);
  for (; !rows->eof(); rows->move_next()) kept.Note(rows->field(rule.key), WhyLeftOut(targets, *rows));
  rows->close();
  return kept_.insert_or_assign(std::string(block), std::move(kept)).first->second;
}

void LeftOutFinder::LetGo(const LeftOutRule& rule) {
  for (const RuleJoin& join : rule.joins) {
    if (!join.lets_go) continue;
    if (join.finds == Finds::Index) {
      indexes_.erase(index_name(join));
    } else if (auto found = kept_.find(join.table); found != kept_.end()) {
      kept_.erase(found);
    }
  }
}

}  // namespace tarvik::report
