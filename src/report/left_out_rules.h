// The rows a block's query leaves out because a join found nothing for them, each with its key and
// the reason in words; and the rows a join wrote more than once. Each block's rule (left_out_rule.h,
// the rules themselves in left_out_rules_table.cpp) says which table to read again and where each
// reference must find its row; this engine reads the table by a plain query of the columns that
// matter and looks every reference up among the keys of its target, compared as the engine's joins
// compare them. Blocks without a rule show none.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/database.h"
#include "archive/key_lookup.h"
#include "report/block_report.h"
#include "report/kept_rows.h"
#include "report/left_out_reason.h"
#include "report/left_out_rule.h"

namespace tarvik::report {

// The rows of each table, as the run counted them for its total.
using TableCounts = std::map<std::string, std::int64_t, std::less<>>;

class LeftOutFinder {
 public:
  // Fills the left-out rows of `report` (a block already written, `written` set) and, when the
  // block holds more records than its rows not left out, the rows written more than once.
  // Blocks come in the run's order: the keys a rule's join looked in are let go after the last
  // block that asks them (RuleJoin::lets_go); asked again, they are read again.
  void Find(archive::Database& archive, BlockReport& report, const TableCounts& counts);

 private:
  void Examine(archive::Database& archive, const LeftOutRule& rule, BlockReport& report, const TableCounts& counts);
  // Each join of `rule` with the keys it looks in; `every_row` when the block reads all its rows.
  std::vector<JoinTarget> Targets(archive::Database& archive, const LeftOutRule& rule, bool every_row);
  const archive::KeyLookup& Index(archive::Database& archive, const RuleJoin& join);
  const KeptRows& Kept(archive::Database& archive, std::string_view block, bool every_row);
  void LetGo(const LeftOutRule& rule);

  std::map<std::string, archive::KeyLookup, std::less<>> indexes_;  // by "table.column"
  std::map<std::string, KeptRows, std::less<>> kept_;                // by block
};

}  // namespace tarvik::report
