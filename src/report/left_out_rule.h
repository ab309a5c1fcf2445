// A block's rule for the report: which rows its query leaves out and how the page names them.
// The rules are data (left_out_rules_table.cpp); LeftOutFinder (left_out_rules.h) reads them.
#pragma once

#include <string_view>
#include <vector>

namespace tarvik::report {

// How a value stands in a key or a reason: as it is, or between quotes (codes, where blanks count).
enum class Shown { Plain, Quoted };

// Where a reference looks for its row.
enum class Finds {
  Index,     // among the target's keys, in the index the export's join built (SideReads::key_lookup)
  KeptRows,  // among the rows the target block's own rule found written, left out (and why) or none
};

// One join of the block's query: its row's `column` must find a row of `table` by `key`.
struct RuleJoin {
  std::string_view column = {};
  std::string_view table = {};
  std::string_view key = {};
  Finds finds = Finds::Index;
  std::string_view noun = {};  // the row not found, in the reason: "cliente 12 inesistente"
  Shown shown = Shown::Plain;
  // KeptRows: said of a target row that exists but was not written ("testata 7 esclusa"), and
  // whether the reason it was left out follows in brackets.
  std::string_view not_written = {};
  bool with_cause = false;
  // The last block that asks this target: its keys are let go after it (asked again, read again).
  bool lets_go = false;
};

// A column shown after the row's key in the list: `separator`, its `label` if any, then its value
// (", Codice 'A1'", "/2024"); nothing when the value is null and `omitted_when_null`.
struct ListedColumn {
  std::string_view column = {};
  std::string_view separator = {};
  std::string_view label = {};
  Shown shown = Shown::Plain;
  bool omitted_when_null = false;
};

struct LeftOutRule {
  std::string_view block = {};
  std::string_view table = {};  // the block's own table, read again
  std::string_view key = {};    // its id, which starts a listed row
  std::vector<ListedColumn> listed = {};
  std::vector<RuleJoin> joins = {};
  // Which of the table's rows are the block's (empty: all). With one, the rows the block's query
  // noted do not serve and the whole table is read.
  std::string_view condition = {};
  // A later block joins to this one's rows (Finds::KeptRows): they are kept as read, every row.
  bool keeps_rows = false;
};

// Every block whose query can leave rows out, in the run's order.
const std::vector<LeftOutRule>& left_out_rules();
// The rule of `block`, or none: its query leaves nothing out.
const LeftOutRule* rule_for(std::string_view block);

}  // namespace tarvik::report
