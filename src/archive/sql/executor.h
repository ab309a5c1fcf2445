// Runs a plan over the archive's tables.
//
// The leftmost table of the FROM clause streams from its scan; every other table is read once,
// keeping per row only the columns the query reads outside that table's own join condition (often
// none), and its join keys go into a hash index whose chains keep the table's physical order. So
// a row of the leftmost table is followed by its matches in the physical order of the joined
// table, and memory grows with the joined tables' keys, not with the archive. A null key matches
// nothing. A query with GROUP BY, COUNT, DISTINCT or ORDER BY is run to its end and its result
// rows are kept.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "archive/sql/plan.h"
#include "archive/unmatched_rows.h"
#include "archive/value.h"

namespace tarvik::archive::jet {
class JetFile;
}

namespace tarvik::archive::sql {

class JoinIndexCache;
class SpineCursor;

class Execution {
 public:
  // The file and the plan must outlive the execution; so must `cache`, when given: the joined
  // tables' indexes are taken from it and kept in it.
  Execution(const jet::JetFile& file, const Plan& plan, JoinIndexCache* cache = nullptr);
  ~Execution();
  Execution(const Execution&) = delete;
  Execution& operator=(const Execution&) = delete;

  // An execution goes through phases, and an operation out of its phase is a logic_error:
  //   restart()      -> before the first row, of the joins' walk or of a count's trail;
  //   next()         -> on a row while it gives true, then past the last (next() stays false);
  //   count(), materialize() -> run a walk to its end: restart() before reading rows again.
  // output() and current_row() need a row: next() has just given true.

  // For a streaming plan: back before the first row; the joined tables' indexes are built on the
  // first call and kept.
  void restart();
  // To the next row that passes WHERE; false at the end.
  bool next();
  // The selected values of the current row.
  void output(std::vector<Value>& row) const;
  // The same, without a copy when the query selects exactly its leftmost table's columns in
  // their order: that table's row as read. Otherwise `scratch`, filled. Valid until the next move.
  const std::vector<Value>& current_row(std::vector<Value>& scratch);
  // The number of rows, decoding only the columns that WHERE and the joins read.
  std::int64_t count();

  // The leftmost rows the last complete walk gave no row for, taken out; none when no walk has run
  // to its end since the last restart (replaying a count's trail walks nothing), or once taken.
  std::optional<UnmatchedRows> take_unmatched();

  // For a streaming plan of one table without WHERE: its rows are from now on those at
  // `pointers`, in that order, read as a count's trail is replayed.
  void replay_rows(const std::vector<std::uint32_t>& pointers);

  // For any plan: every result row, in the result's order (grouped, distinct, sorted).
  std::vector<std::vector<Value>> materialize();

  struct State;  // the executor's own, shared with its cursors

 private:
  enum class Phase : std::uint8_t {
    Unstarted,  // nothing read yet: restart() first
    Restarted,  // before the first row
    Walking,    // on a row of the joins' walk
    Replaying,  // on a row of a count's trail
    Ended,      // past the last row
    Spent,      // a count or a materialize ran the walk to its end
  };

  // restart(), for a run whose rows will only be counted when `counting`.
  void restart_for(bool counting);
  // The cursor, made on first use.
  SpineCursor& cursor();
  // Throws unless a row is current.
  void check_on_row() const;
  // The selected values computed from the current row context as it stands.
  void project(std::vector<Value>& row) const;
  // The group rows that pass HAVING, sorted by their keys.
  std::vector<std::vector<Value>> grouped_rows();

  std::unique_ptr<State> state_;
};

}  // namespace tarvik::archive::sql
