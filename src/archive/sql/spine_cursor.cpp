#include "archive/sql/spine_cursor.h"

#include <stdexcept>
#include <utility>

#include "archive/sql/bound_walk.h"

namespace tarvik::archive::sql {

SpineCursor::LeafRows SpineCursor::leaf_rows_of(bool streamed, const JoinWalk& walk) {
  if (!streamed) return LeafRows::Stored;
  return walk.first_key_reads_leaf_only() ? LeafRows::ScannedAhead : LeafRows::Scanned;
}

SpineCursor::SpineCursor(Execution::State& st, const JoinNode& root, bool streamed)
    : st_(st), walk_(st, root), leaf_rows_(leaf_rows_of(streamed, walk_)) {
  if (!streamed) st_.load(walk_.leaf(), {}, [](std::int32_t) {});
}

void SpineCursor::restart(bool counting) {
  phase_ = Phase::BeforeFirst;
  stored_pos_ = 0;
  ahead_.clear();
  walk_.restart();
  notes_.start();
  if (leaf_rows_ == LeafRows::Stored) return;
  const PlanSource& src = st_.plan.sources[walk_.leaf()];
  scan_.reset();
  scan_.emplace(st_.file.scan(src.table));
  // Where nothing drops a row (no WHERE, no join, no grouping) and the rows are read, not only
  // counted, every row is read whole at once.
  const bool drops_rows = st_.plan.where || walk_.size() != 0 || st_.plan.grouped;
  columns_.choose(st_.file, src, *scan_, !counting && !drops_rows ? stored_mask(src) : deciding_columns());
}

std::vector<bool> SpineCursor::deciding_columns() const {
  const Plan& plan = st_.plan;
  const std::size_t leaf = walk_.leaf();
  std::vector<bool> lean(plan.sources[leaf].table.columns.size(), false);
  if (plan.where) mark_columns(*plan.where, leaf, lean);
  walk_.mark_leaf_keys(lean);
  for (const Bound& k : plan.group_keys) mark_columns(k, leaf, lean);
  for (const AggregateSpec& a : plan.aggregates) {
    if (!a.star) mark_columns(a.arg, leaf, lean);
  }
  return lean;
}

bool SpineCursor::next() {
  bool resume = true;
  switch (phase_) {
    case Phase::Walking: break;
    case Phase::BeforeFirst:
      resume = false;
      phase_ = Phase::Walking;
      break;
    case Phase::Ended: return false;
    case Phase::Unstarted: throw std::logic_error("a walk of the joins read before restart()");
    case Phase::Replayed: throw std::logic_error("a walk of the joins read on from a replayed row, without restart()");
  }
  if (walk_.next(resume, [this] { return next_leaf(); })) return true;
  phase_ = Phase::Ended;
  return false;
}

void SpineCursor::replay(const std::int32_t* entry) {
  phase_ = Phase::Replayed;
  leaf_pointer_ = static_cast<std::uint32_t>(entry[0]);
  columns_.read_whole_at(st_.file, st_.plan.sources[walk_.leaf()], leaf_pointer_, leaf_row_);
  set_leaf_row();
  walk_.replay(entry + 1);
}

bool SpineCursor::selects_leftmost_row() const {
  const auto& columns = st_.plan.columns;
  const std::size_t leaf = walk_.leaf();
  if (columns.empty() || columns.size() != st_.plan.sources[leaf].table.columns.size()) return false;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const Bound& e = columns[i].expr;
    if (e.kind != BoundKind::Column || e.source != leaf || e.column != i) return false;
  }
  return true;
}

bool SpineCursor::next_leaf() {
  switch (leaf_rows_) {
    case LeafRows::ScannedAhead: return next_ahead();
    case LeafRows::Scanned: return next_scanned();
    case LeafRows::Stored: break;
  }
  if (stored_pos_ >= st_.stored[walk_.leaf()].count) return false;
  st_.bind_stored(walk_.leaf(), static_cast<std::int32_t>(stored_pos_++));
  return true;
}

bool SpineCursor::next_scanned() {
  if (!scan_->next(leaf_row_)) {
    notes_.walk_ended();
    return false;
  }
  leaf_pointer_ = scan_->row_pointer();
  notes_.leaf_read(leaf_pointer_);
  columns_.row_scanned();
  set_leaf_row();
  return true;
}

bool SpineCursor::next_ahead() {
  ahead_.fill(*scan_, walk_.first_key());
  RowsAhead::Row* row = ahead_.take();
  if (!row) {
    notes_.walk_ended();
    return false;
  }
  leaf_row_.swap(row->values);
  leaf_pointer_ = row->pointer;
  walk_.key_made_ahead(*row);
  notes_.leaf_read(leaf_pointer_);
  columns_.row_scanned();
  set_leaf_row();
  return true;
}

}  // namespace tarvik::archive::sql
