// The walk over a query's joins, along the join tree's left spine: the leftmost table's rows
// (scanned, or stored for a parenthesised right side), each followed by its matches at each join
// in turn. The jobs it puts together have their own pieces: the joins (JoinWalk), the scan read
// ahead (RowsAhead), the columns read late (LeafColumns) and the notes of unmatched rows
// (UnmatchedNotes).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "archive/jet/jet_file.h"
#include "archive/sql/execution_state.h"
#include "archive/sql/join_walk.h"
#include "archive/sql/leaf_columns.h"
#include "archive/sql/rows_ahead.h"
#include "archive/sql/unmatched_notes.h"
#include "archive/unmatched_rows.h"

namespace tarvik::archive::sql {

class SpineCursor {
 public:
  // `streamed`: the leftmost table is scanned; otherwise it is read into its stored rows now.
  SpineCursor(Execution::State& st, const JoinNode& root, bool streamed);

  // Back before the first joined row; needed before the first next(). `counting`: the rows will
  // only be counted.
  void restart(bool counting = false);
  // To the next joined row; false after the last. A logic_error before restart(), and after a
  // replay() until the next restart(): a replayed row is no place in the walk.
  bool next();

  // The current joined row as a trail entry: the leftmost row's pointer, then per join the entry
  // of the joined side (-1 on the null row of a LEFT JOIN).
  std::size_t trail_width() const { return 1 + walk_.size(); }
  void append_trail(std::vector<std::int32_t>& trail) const {
    trail.push_back(static_cast<std::int32_t>(leaf_pointer_));
    walk_.append_trail(trail);
  }
  // Makes the joined row of a trail entry current, reading the leftmost row by its pointer with
  // every column the result reads: no scan, no join key, no WHERE.
  void replay(const std::int32_t* entry);

  // Whether the result's columns are the leftmost table's, all of them, in their order: then
  // its row, as read, is the result's row.
  bool selects_leftmost_row() const;
  const std::vector<Value>& leftmost_row() const { return leaf_row_; }
  // Makes the current leftmost row hold every column the result reads.
  void read_whole_row() { columns_.complete(leaf_pointer_, leaf_row_); }

  // The current joined row is one of the query's rows (it passed WHERE): its leftmost row matched.
  void row_given() { notes_.row_given(); }
  // The leftmost rows that gave no row, taken out, once a streamed walk has run to its end; none
  // before, and once taken.
  std::optional<UnmatchedRows> take_unmatched() { return notes_.take(); }

 private:
  // How the leftmost rows come: from the stored rows, from the scan, or from the scan read ahead
  // with the first join's keys.
  enum class LeafRows : std::uint8_t { Stored, Scanned, ScannedAhead };
  enum class Phase : std::uint8_t {
    Unstarted,    // restart() first
    BeforeFirst,  // restarted, no row yet
    Walking,      // on a joined row of the walk
    Ended,        // past the last row
    Replayed,     // on a row made current by replay()
  };

  static LeafRows leaf_rows_of(bool streamed, const JoinWalk& walk);
  bool next_leaf();
  bool next_scanned();
  bool next_ahead();
  // The leftmost table's columns that decide whether a row gives rows.
  std::vector<bool> deciding_columns() const;
  void set_leaf_row() {
    st_.ctx.rows[walk_.leaf()] = leaf_row_.empty() ? no_columns() : leaf_row_.data();
    st_.ctx.full[walk_.leaf()] = 1;
  }

  Execution::State& st_;
  JoinWalk walk_;
  LeafRows leaf_rows_;
  Phase phase_ = Phase::Unstarted;
  std::optional<jet::TableScan> scan_;
  RowsAhead ahead_;
  LeafColumns columns_;
  UnmatchedNotes notes_;
  std::vector<Value> leaf_row_;
  std::uint32_t leaf_pointer_ = 0;  // the current leftmost row's pointer
  std::size_t stored_pos_ = 0;      // the next stored leftmost row
};

}  // namespace tarvik::archive::sql
