#include "archive/sql/spine_cursor.h"

#include <algorithm>
#include <utility>

#include "archive/sql/compare.h"
#include "archive/sql/bound_walk.h"
#include "archive/sql/evaluate.h"

namespace tarvik::archive::sql {

namespace {

// The name a single table's index is kept under between queries (its table, key columns and
// stored columns), or "" when it cannot be kept: its keys are not plain columns of it.
std::string shared_index_name(const PlanSource& src, std::size_t source, const std::vector<Bound>& keys) {
  std::vector<std::size_t> key_columns;
  for (const Bound& k : keys) {
    if (k.kind != BoundKind::Column || k.source != source) return {};
    key_columns.push_back(k.column);
  }
  return kept_index_name(src.table.tdef_page, key_columns, src.stored_columns);
}

// False when a key value is null: a null matches nothing.
bool make_key(const std::vector<Bound>& keys, const RowContext& row, std::string& key) {
  key.clear();
  Value scratch;
  for (const Bound& k : keys) {
    const Value& v = operand(k, row, scratch);
    if (v.is_null()) return false;
    append_key(key, v, row.text_order);
  }
  return true;
}

}  // namespace

SpineCursor::SpineCursor(Execution::State& st, const JoinNode& root, bool streamed)
    : st_(st), streamed_(streamed) {
  const JoinNode* node = &root;
  while (node->is_join) {
    steps_.push_back(Step{node, build_relation(*node->right, node->right_keys)});
    node = node->left.get();
  }
  std::reverse(steps_.begin(), steps_.end());
  for (Step& step : steps_) step.by_number = step.right.table->index.by_value() && step.node->left_keys.size() == 1;
  leaf_ = node->source;
  reads_ahead_ = streamed_ && !steps_.empty();
  if (reads_ahead_) {
    for (const Bound& k : steps_.front().node->left_keys) reads_ahead_ = reads_ahead_ && reads_only(k, leaf_);
  }
  if (!streamed_) st_.load(leaf_, {}, [](std::int32_t) {});
}

void SpineCursor::restart(bool counting) {
  started_ = false;
  stored_pos_ = 0;
  ahead_.clear();
  first_key_ready_ = false;
  has_leaf_ = leaf_gave_row_ = walk_complete_ = false;
  unmatched_ = UnmatchedRows{};
  if (!streamed_) return;
  const PlanSource& src = st_.plan.sources[leaf_];
  scan_.reset();
  scan_.emplace(st_.file.scan(src.table));
  std::vector<bool> lean(src.table.columns.size(), false);
  const Plan& plan = st_.plan;
  if (plan.where) mark_columns(*plan.where, leaf_, lean);
  for (const Step& step : steps_) {
    for (const Bound& k : step.node->left_keys) mark_columns(k, leaf_, lean);
  }
  for (const Bound& k : plan.group_keys) mark_columns(k, leaf_, lean);
  for (const AggregateSpec& a : plan.aggregates) {
    if (!a.star) mark_columns(a.arg, leaf_, lean);
  }
  const std::vector<bool> full = stored_mask(src);
  // Where nothing drops a row (no WHERE, no join, no grouping) and the rows are read, not only
  // counted, every row is read whole at once.
  if (!counting && !plan.where && steps_.empty() && !plan.grouped) lean = full;
  needs_full_read_ = full != lean;
  scan_->select_columns(std::move(lean));
  if (needs_full_read_ && !reader_) {
    reader_.emplace(st_.file.scan(src.table));
    reader_->select_columns(full);
  }
}

void SpineCursor::append_trail(std::vector<std::int32_t>& trail) const {
  trail.push_back(static_cast<std::int32_t>(leaf_pointer_));
  for (const Step& step : steps_) trail.push_back(step.missing ? -1 : step.current);
}

void SpineCursor::replay(const std::int32_t* entry) {
  const PlanSource& src = st_.plan.sources[leaf_];
  if (!reader_) {
    reader_.emplace(st_.file.scan(src.table));
    reader_->select_columns(stored_mask(src));
  }
  leaf_pointer_ = static_cast<std::uint32_t>(entry[0]);
  reader_->read_at(leaf_pointer_, leaf_row_);
  whole_row_read_ = true;
  st_.ctx.rows[leaf_] = leaf_row_.empty() ? no_columns() : leaf_row_.data();
  st_.ctx.full[leaf_] = 1;
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    Step& step = steps_[i];
    step.current = entry[1 + i];
    step.chain = {};  // not known: a walk on from here reads next_
    step.missing = step.current < 0;
    bind(step);
  }
}

bool SpineCursor::selects_leftmost_row() const {
  const auto& columns = st_.plan.columns;
  if (columns.empty() || columns.size() != st_.plan.sources[leaf_].table.columns.size()) return false;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const Bound& e = columns[i].expr;
    if (e.kind != BoundKind::Column || e.source != leaf_ || e.column != i) return false;
  }
  return true;
}

void SpineCursor::read_whole_row() {
  if (!streamed_ || !needs_full_read_ || whole_row_read_) return;
  reader_->read_at(leaf_pointer_, leaf_row_);
  whole_row_read_ = true;
}

bool SpineCursor::next() {
  const int k = static_cast<int>(steps_.size());
  int i = started_ ? k - 1 : -1;
  started_ = true;
  while (true) {
    const bool moved = i < 0 ? next_leaf() : advance(steps_[static_cast<std::size_t>(i)]);
    if (!moved) {
      if (i < 0) return false;
      --i;
      continue;
    }
    int j = i + 1;
    while (j < k && enter(steps_[static_cast<std::size_t>(j)])) ++j;
    if (j == k) return true;
    i = j - 1;
  }
}

Relation SpineCursor::build_relation(const JoinNode& right, const std::vector<Bound>& keys) {
  Relation rel;
  rel.sources = right.sources;
  std::string key;
  if (!right.is_join) {
    rel.single_table = true;
    const std::string shared_name =
        st_.cache ? shared_index_name(st_.plan.sources[right.source], right.source, keys) : std::string();
    auto build = [&] {
      auto table = std::make_shared<JoinedTable>();
      table->index.reserve(row_count_hint(st_.plan.sources[right.source].table.row_count));
      st_.load(right.source, keys, [&](std::int32_t n) {
        if (make_key(keys, st_.ctx, key)) table->index.add(key, n);
      });
      table->index.finish();
      table->rows = std::move(st_.stored[right.source]);
      return std::shared_ptr<const JoinedTable>(std::move(table));
    };
    rel.table = shared_name.empty() ? build() : st_.cache->find_or_build(shared_name, build);
    st_.rows_of[right.source] = &rel.table->rows;
    return rel;
  }
  auto table = std::make_shared<JoinedTable>();
  SpineCursor inner(st_, right, false);
  inner.restart();
  std::int32_t n = 0;
  while (inner.next()) {
    for (std::size_t s : rel.sources) rel.refs.push_back(st_.row_numbers[s]);
    if (make_key(keys, st_.ctx, key)) table->index.add(key, n);
    ++n;
  }
  table->index.finish();
  table->rows.count = static_cast<std::size_t>(n);
  rel.table = std::move(table);
  return rel;
}

void SpineCursor::read_ahead() {
  const Step& first = steps_.front();
  while (!ahead_.full()) {
    RowsAhead::Row& row = ahead_.tail();
    try {
      if (!scan_->next(row.values)) {
        ahead_.end(nullptr);
        return;
      }
      row.pointer = scan_->row_pointer();
      st_.ctx.rows[leaf_] = row.values.empty() ? no_columns() : row.values.data();
      st_.ctx.full[leaf_] = 1;
      if (first.by_number) row.number = number_key(first);
      else row.keyed = make_key(first.node->left_keys, st_.ctx, row.key);
    } catch (...) {
      ahead_.end(std::current_exception());
      return;
    }
    if (first.by_number) {
      if (row.number) first.right.table->index.prefetch_number(*row.number);
    } else if (row.keyed) {
      first.right.table->index.prefetch(row.key);
    }
    ahead_.push();
  }
  // Half way to its turn, a row's slot has arrived: its key's bytes, kept apart, are asked for.
  if (ahead_.size() > RowsAhead::kDepth / 2) {
    const RowsAhead::Row& half_way = ahead_.at(RowsAhead::kDepth / 2);
    if (half_way.keyed) first.right.table->index.prefetch_key_bytes(half_way.key);
  }
}

std::optional<UnmatchedRows> SpineCursor::take_unmatched() {
  if (!walk_complete_) return std::nullopt;
  walk_complete_ = false;
  return std::exchange(unmatched_, UnmatchedRows{});
}

void SpineCursor::leave_leaf() {
  if (has_leaf_ && !leaf_gave_row_) unmatched_.pointers.push_back(leaf_pointer_);
  has_leaf_ = false;
}

bool SpineCursor::next_leaf() {
  if (streamed_) {
    leave_leaf();
    if (reads_ahead_) {
      read_ahead();
      RowsAhead::Row* row = ahead_.take();
      if (!row) {
        walk_complete_ = true;
        return false;
      }
      leaf_row_.swap(row->values);
      leaf_pointer_ = row->pointer;
      key_.swap(row->key);
      first_keyed_ = row->keyed;
      first_number_ = row->number;
      first_key_ready_ = true;
    } else {
      if (!scan_->next(leaf_row_)) {
        walk_complete_ = true;
        return false;
      }
      leaf_pointer_ = scan_->row_pointer();
    }
    has_leaf_ = true;
    leaf_gave_row_ = false;
    ++unmatched_.rows_read;
    whole_row_read_ = false;
    st_.ctx.rows[leaf_] = leaf_row_.empty() ? no_columns() : leaf_row_.data();
    st_.ctx.full[leaf_] = 1;
    return true;
  }
  if (stored_pos_ >= st_.stored[leaf_].count) return false;
  st_.bind_stored(leaf_, static_cast<std::int32_t>(stored_pos_++));
  return true;
}

void SpineCursor::bind(Step& step) {
  const std::size_t m = step.right.sources.size();
  if (step.right.single_table) {
    st_.bind_stored(step.right.sources[0], step.missing ? -1 : step.current);
    return;
  }
  for (std::size_t j = 0; j < m; ++j) {
    const std::int32_t n = step.missing ? -1 : step.right.refs[static_cast<std::size_t>(step.current) * m + j];
    st_.bind_stored(step.right.sources[j], n);
  }
}

bool SpineCursor::enter(Step& step) {
  // The first join is entered once per leftmost row: its key may have been made as it was read.
  const bool made_ahead = first_key_ready_ && &step == &steps_.front();
  if (made_ahead) first_key_ready_ = false;
  if (step.by_number) {
    // A key that is no whole number finds nothing among whole numbers.
    const std::optional<std::int64_t> number = made_ahead ? first_number_ : number_key(step);
    step.chain = number ? step.right.table->index.chain_of_number(*number) : KeyIndex::Chain{};
  } else {
    const bool keyed = made_ahead ? first_keyed_ : make_key(step.node->left_keys, st_.ctx, key_);
    step.chain = keyed ? matches(step) : KeyIndex::Chain{};
  }
  step.current = step.chain.first;
  step.missing = step.current < 0;
  if (step.missing && step.node->kind != JoinKind::Left) return false;
  bind(step);
  return true;
}

std::optional<std::int64_t> SpineCursor::number_key(const Step& step) {
  Value scratch;
  const Value& value = operand(step.node->left_keys.front(), st_.ctx, scratch);
  if (value.is_null()) return std::nullopt;  // a null matches nothing
  return whole_number_key_of(value);
}

KeyIndex::Chain SpineCursor::matches(Step& step) {
  if (step.looked_up && key_ == step.last_key) return step.last_chain;
  step.last_key = key_;
  step.last_chain = step.right.table->index.chain(key_);
  step.looked_up = true;
  return step.last_chain;
}

bool SpineCursor::advance(Step& step) {
  if (step.missing || step.current == step.chain.last) return false;
  step.current = step.right.table->index.after(step.current);
  if (step.current < 0) return false;
  bind(step);
  return true;
}

}  // namespace tarvik::archive::sql
