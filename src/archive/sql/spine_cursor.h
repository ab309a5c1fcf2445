// The walk over a query's joins, along the join tree's left spine: the leftmost table's rows
// (scanned, or stored for a parenthesised right side), each followed by its matches at each join
// in turn.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/jet/jet_file.h"
#include "archive/unmatched_rows.h"
#include "archive/sql/execution_state.h"
#include "archive/sql/join_index_cache.h"
#include "archive/sql/plan.h"
#include "archive/sql/rows_ahead.h"

namespace tarvik::archive::sql {

// The right side of a join: its rows as row numbers of its sources (-1: the missing side of an
// inner LEFT JOIN), and the index of their keys. A single table's entry n is its row n.
struct Relation {
  std::vector<std::size_t> sources;
  bool single_table = false;
  std::vector<std::int32_t> refs;  // sources.size() per row; none for a single table
  std::shared_ptr<const JoinedTable> table;  // its key index
};

class SpineCursor {
 public:
  SpineCursor(Execution::State& st, const JoinNode& root, bool streamed);

  // The leftmost table is scanned decoding only the columns read before a row is known to pass
  // (WHERE, the joins, the grouping); the other columns it gives the result are read again by the
  // row's pointer when the row's values are asked for, so filtered and counted rows cost little.
  // `counting`: the rows will only be counted.
  void restart(bool counting = false);

  // The current joined row as a trail entry: the leftmost row's pointer, then per join the entry
  // of the joined side (-1 on the null row of a LEFT JOIN).
  std::size_t trail_width() const { return 1 + steps_.size(); }
  void append_trail(std::vector<std::int32_t>& trail) const;
  // Makes the joined row of a trail entry current, reading the leftmost row by its pointer with
  // every column the result reads: no scan, no join key, no WHERE.
  void replay(const std::int32_t* entry);

  // Whether the result's columns are the leftmost table's, all of them, in their order: then
  // its row, as read, is the result's row.
  bool selects_leftmost_row() const;
  const std::vector<Value>& leftmost_row() const { return leaf_row_; }

  // Makes the current leftmost row hold every column the result reads.
  void read_whole_row();

  // To the next joined row; false after the last.
  bool next();
  // The current joined row is one of the query's rows (it passed WHERE): its leftmost row matched.
  void row_given() { leaf_gave_row_ = true; }
  // The leftmost rows that gave no row, taken out, once a streamed walk has run to its end; none
  // before, and once taken.
  std::optional<UnmatchedRows> take_unmatched();

 private:
  // One join of the spine: its right side and where the walk stands in it.
  struct Step {
    const JoinNode* node;
    Relation right;
    // Its index holds whole numbers by value, and its one key is looked up as a number, without
    // the key's bytes.
    bool by_number = false;
    std::int32_t current = -1;
    bool missing = false;  // on the null row of a LEFT JOIN
    KeyIndex::Chain chain = {};  // the entries under the current key
    bool looked_up = false;  // last_key holds the key last looked up, last_chain its entries
    std::string last_key = {};
    KeyIndex::Chain last_chain = {};
  };
  Relation build_relation(const JoinNode& right, const std::vector<Bound>& keys);
  bool next_leaf();
  // Reads the leftmost table's rows ahead until the ring is full, asking for each row's place in
  // the first join's index.
  void read_ahead();
  void bind(Step& step);
  // The whole number the key of `step` (looked up by number) makes of the current row, if any.
  std::optional<std::int64_t> number_key(const Step& step);
  bool enter(Step& step);

  // The entries under key_. Rows often come in runs with the same key (a document's rows, one
  // after another), so the last key looked up and its answer are kept.
  KeyIndex::Chain matches(Step& step);
  bool advance(Step& step);

  Execution::State& st_;
  bool streamed_;
  std::size_t leaf_ = 0;
  std::vector<Step> steps_;
  std::optional<jet::TableScan> scan_;
  std::optional<jet::TableScan> reader_;  // reads a passing row's other columns by its pointer
  // Set on a streamed walk whose first join's key is read from the leftmost row alone.
  bool reads_ahead_ = false;
  RowsAhead ahead_;
  bool first_key_ready_ = false;  // key_ holds the current row's first join key, made ahead
  bool first_keyed_ = false;
  std::optional<std::int64_t> first_number_;  // the same, for a first join looked up by number
  std::uint32_t leaf_pointer_ = 0;  // the current leftmost row's pointer
  // Noted along a streamed walk: whether the current leftmost row has given a row yet, and the
  // leftmost rows that gave none.
  bool has_leaf_ = false;
  bool leaf_gave_row_ = false;
  bool walk_complete_ = false;
  UnmatchedRows unmatched_;
  // Ends the current leftmost row's turn, noting it when it gave no row.
  void leave_leaf();
  bool needs_full_read_ = false;
  bool whole_row_read_ = false;
  std::vector<Value> leaf_row_;
  std::size_t stored_pos_ = 0;
  bool started_ = false;
  std::string key_;
};

}  // namespace tarvik::archive::sql
