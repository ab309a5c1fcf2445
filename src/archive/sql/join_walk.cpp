#include "archive/sql/join_walk.h"

#include <algorithm>

#include "archive/sql/bound_walk.h"
#include "archive/sql/spine_cursor.h"

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

}  // namespace

JoinWalk::JoinWalk(Execution::State& st, const JoinNode& root) : st_(st) {
  const JoinNode* node = &root;
  while (node->is_join) {
    steps_.push_back(Step{node, build_relation(*node->right, node->right_keys)});
    node = node->left.get();
  }
  std::reverse(steps_.begin(), steps_.end());
  for (Step& step : steps_) step.by_number = step.right.table->index.by_value() && step.node->left_keys.size() == 1;
  leaf_ = node->source;
}

void JoinWalk::mark_leaf_keys(std::vector<bool>& mask) const {
  for (const Step& step : steps_) {
    for (const Bound& k : step.node->left_keys) mark_columns(k, leaf_, mask);
  }
}

bool JoinWalk::first_key_reads_leaf_only() const {
  if (steps_.empty()) return false;
  const std::vector<Bound>& keys = steps_.front().node->left_keys;
  return std::all_of(keys.begin(), keys.end(), [this](const Bound& k) { return reads_only(k, leaf_); });
}

void JoinWalk::replay(const std::int32_t* entries) {
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    Step& step = steps_[i];
    step.current = entries[i];
    step.chain = {};  // not known: the row stands alone
    step.missing = step.current < 0;
    bind(step);
  }
}

void JoinWalk::make_first_key(RowsAhead::Row& row) const {
  const Step& first = steps_.front();
  st_.ctx.rows[leaf_] = row.values.empty() ? no_columns() : row.values.data();
  st_.ctx.full[leaf_] = 1;
  if (first.by_number) row.number = number_key(first);
  else row.keyed = make_key(first.node->left_keys, row.key);
}

void JoinWalk::prefetch_first(const RowsAhead::Row& row) const {
  const Step& first = steps_.front();
  if (first.by_number) {
    if (row.number) first.right.table->index.prefetch_number(*row.number);
  } else if (row.keyed) {
    first.right.table->index.prefetch(row.key);
  }
}

void JoinWalk::prefetch_first_bytes(const RowsAhead::Row& row) const {
  if (row.keyed) steps_.front().right.table->index.prefetch_key_bytes(row.key);
}

std::optional<std::int64_t> JoinWalk::number_key(const Step& step) const {
  Value scratch;
  const Value& value = operand(step.node->left_keys.front(), st_.ctx, scratch);
  if (value.is_null()) return std::nullopt;  // a null matches nothing
  return whole_number_key_of(value);
}

Relation JoinWalk::build_relation(const JoinNode& right, const std::vector<Bound>& keys) {
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
        if (make_join_key(keys, st_.ctx, key)) table->index.add(key, n);
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
    if (make_join_key(keys, st_.ctx, key)) table->index.add(key, n);
    ++n;
  }
  table->index.finish();
  table->rows.count = static_cast<std::size_t>(n);
  rel.table = std::move(table);
  return rel;
}

}  // namespace tarvik::archive::sql
