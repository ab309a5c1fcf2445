#include "archive/sql/executor.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "archive/sql/bound_walk.h"
#include "archive/sql/evaluate.h"
#include "archive/sql/execution_state.h"
#include "archive/sql/group_aggregate.h"
#include "archive/sql/result_order.h"
#include "archive/sql/spine_cursor.h"

namespace tarvik::archive::sql {

Execution::State::State(const jet::JetFile& f, const Plan& p, JoinIndexCache* c)
    : file(f), plan(p), cache(c), stored(p.sources.size()) {
  ctx.rows.assign(p.sources.size(), nullptr);
  ctx.full.assign(p.sources.size(), 0);
  ctx.text_order = text_order_of(f.header());
  row_numbers.assign(p.sources.size(), -1);
  rows_of.resize(p.sources.size());
  for (std::size_t s = 0; s < p.sources.size(); ++s) {
    stored[s].width = p.sources[s].stored_columns.size();
    rows_of[s] = &stored[s];
  }
}

Execution::State::~State() = default;

Execution::Execution(const jet::JetFile& file, const Plan& plan, JoinIndexCache* cache)
    : state_(std::make_unique<State>(file, plan, cache)) {}

Execution::~Execution() = default;

void Execution::restart() { restart_for(false); }

void Execution::restart_for(bool counting) {
  State& st = *state_;
  if (!st.top) st.top = std::make_unique<SpineCursor>(st, *st.plan.from, true);
  st.replaying = st.trail_complete;
  st.trail_position = 0;
  if (!st.replaying) st.top->restart(counting);
}

// The count pass keeps the trail of every row it counts, so the reads that follow replay it
// instead of running the joins and WHERE again.
std::int64_t Execution::count() {
  State& st = *state_;
  if (st.trail_complete) return static_cast<std::int64_t>(st.trail.size() / st.top->trail_width());
  // A query that keeps every row of its one table has that table's rows, counted where they stand
  // (and most often already counted for the run's total); its rows are then read in one scan.
  const JoinNode& from = *st.plan.from;
  if (!from.is_join && !st.plan.where && !st.plan.grouped) return st.file.row_count(st.plan.sources[from.source].table);
  restart_for(true);
  st.trail.clear();
  std::int64_t n = 0;
  while (next()) {
    st.top->append_trail(st.trail);
    ++n;
  }
  st.trail.shrink_to_fit();
  st.trail_complete = true;
  return n;
}

bool Execution::next() {
  State& st = *state_;
  if (st.replaying) {
    if (st.trail_position >= st.trail.size()) return false;
    st.top->replay(st.trail.data() + st.trail_position);
    st.trail_position += st.top->trail_width();
    return true;
  }
  const std::optional<Bound>& where = st.plan.where;
  while (st.top->next()) {
    if (!where || truth(*where, st.ctx) == Truth::True) {
      st.top->row_given();
      return true;
    }
  }
  return false;
}

void Execution::replay_rows(const std::vector<std::uint32_t>& pointers) {
  State& st = *state_;
  if (!st.top) st.top = std::make_unique<SpineCursor>(st, *st.plan.from, true);
  st.trail.assign(pointers.begin(), pointers.end());
  st.trail_complete = true;
  st.replaying = true;
  st.trail_position = 0;
}

std::optional<UnmatchedRows> Execution::take_unmatched() {
  if (!state_->top) return std::nullopt;
  return state_->top->take_unmatched();
}

void Execution::output(std::vector<Value>& row) const {
  state_->top->read_whole_row();
  project(row);
}

const std::vector<Value>& Execution::current_row(std::vector<Value>& scratch) {
  State& st = *state_;
  if (!st.selects_leftmost_row) st.selects_leftmost_row = st.top->selects_leftmost_row();
  if (!*st.selects_leftmost_row) {
    output(scratch);
    return scratch;
  }
  st.top->read_whole_row();
  return st.top->leftmost_row();
}

void Execution::project(std::vector<Value>& row) const {
  const auto& columns = state_->plan.columns;
  row.resize(columns.size());
  // Copied by assignment from the operand, so a text lands in the storage the row already has.
  Value scratch;
  for (std::size_t i = 0; i < columns.size(); ++i) row[i] = operand(columns[i].expr, state_->ctx, scratch);
}

std::vector<std::vector<Value>> Execution::materialize() {
  const Plan& plan = state_->plan;
  RowContext& ctx = state_->ctx;
  std::vector<ResultRow> rows;
  DistinctRows distinct(ctx.text_order);
  auto emit = [&]() {
    ResultRow row;
    if (plan.grouped) project(row.out);  // over the group row
    else output(row.out);
    if (plan.distinct && !distinct.first_of_its_kind(row.out)) return;
    for (const SortKey& k : plan.order_by) row.order_keys.push_back(evaluate(k.expr, ctx));
    rows.push_back(std::move(row));
  };

  if (plan.grouped) {
    std::vector<std::vector<Value>> groups = kept_groups();
    sort_groups(groups, plan.group_keys.size(), ctx.text_order);
    for (const std::vector<Value>& group : groups) {
      ctx.group = group.data();
      emit();
    }
    ctx.group = nullptr;
  } else {
    restart();
    while (next()) emit();
  }
  if (plan.distinct) sort_distinct(rows, ctx.text_order);
  sort_by_order(rows, plan.order_by, ctx.text_order);

  std::vector<std::vector<Value>> result;
  result.reserve(rows.size());
  for (ResultRow& row : rows) result.push_back(std::move(row.out));
  return result;
}

// Counts every group in a run of the query, keeping the trail entry of each group's first row.
// Group rows are made only then, each group's key values read again from its first row by that
// entry, and a group is kept only when HAVING holds: memory goes to the groups kept, not to every
// group met. When HAVING reads no key value, it is decided on the counts alone and only the kept
// groups' first rows are read again.
std::vector<std::vector<Value>> Execution::kept_groups() {
  State& st = *state_;
  const Plan& plan = st.plan;
  RowContext& ctx = st.ctx;
  GroupCounts counts(plan.aggregates.size(), ctx.text_order);
  // Mostly a group a row of the table read first (item and supplier pairs): room for its rows
  // spares rehashing every key as the groups grow.
  counts.reserve(row_count_hint(plan.sources.front().table.row_count));
  std::vector<Value> scratch(plan.group_keys.size());
  std::vector<const Value*> keys(plan.group_keys.size());
  auto read_keys = [&]() {
    for (std::size_t k = 0; k < keys.size(); ++k) keys[k] = &operand(plan.group_keys[k], ctx, scratch[k]);
  };
  Value arg_scratch;
  restart();
  if (st.replaying) {  // a count's trail gives rows without their scan position: run the query
    st.replaying = false;
    st.top->restart();
  }
  const std::size_t width = st.top->trail_width();
  std::vector<std::int32_t> first_rows;  // width entries per group
  // Rows wait a few at a time before their group is looked up, each one's place asked of memory
  // as it comes: most groups are new, and their keys land all over a large table.
  struct Waiting {
    std::string key;
    std::vector<std::int32_t> trail;
    std::vector<char> counted;  // per aggregate: whether the row counts in it
  };
  std::array<Waiting, 8> waiting;
  std::size_t first_waiting = 0, held = 0;
  auto settle = [&] {
    Waiting& row = waiting[first_waiting];
    const std::uint32_t group = counts.group_of_key(row.key);
    if (group == first_rows.size() / width) first_rows.insert(first_rows.end(), row.trail.begin(), row.trail.end());
    for (std::size_t a = 0; a < row.counted.size(); ++a)
      if (row.counted[a]) counts.count(group, a);
    first_waiting = (first_waiting + 1) % waiting.size();
    --held;
  };
  while (next()) {
    read_keys();
    if (held == waiting.size()) settle();
    Waiting& row = waiting[(first_waiting + held) % waiting.size()];
    row.key = counts.key_of(keys);
    row.trail.clear();
    st.top->append_trail(row.trail);
    row.counted.resize(plan.aggregates.size());
    for (std::size_t a = 0; a < plan.aggregates.size(); ++a) {
      const AggregateSpec& spec = plan.aggregates[a];
      row.counted[a] = spec.star || !operand(spec.arg, ctx, arg_scratch).is_null();
    }
    counts.prefetch(row.key);
    ++held;
  }
  while (held > 0) settle();

  auto having_holds = [&](const std::vector<Value>& row) {
    if (!plan.having) return true;
    ctx.group = row.data();
    const bool holds = truth(*plan.having, ctx) == Truth::True;
    ctx.group = nullptr;
    return holds;
  };
  std::vector<std::vector<Value>> kept;
  if (counts.size() == 0) {
    if (keys.empty()) {  // COUNT over no rows, without GROUP BY, is one row of zeros
      std::vector<Value> row = counts.row(counts.group(keys), keys);
      if (having_holds(row)) kept.push_back(std::move(row));
    }
    return kept;
  }
  // A HAVING that reads only counts is decided before the group's first row is read again.
  const bool decide_on_counts = plan.having && !reads_group_keys(*plan.having, keys.size());
  const Value null_value;
  const std::vector<const Value*> no_keys(keys.size(), &null_value);
  std::vector<Value> counts_only;  // a group row without its keys, for such a HAVING
  for (std::uint32_t group = 0; group < counts.size(); ++group) {
    if (decide_on_counts) {
      counts.fill_row(group, no_keys, counts_only);
      if (!having_holds(counts_only)) continue;
    }
    st.top->replay(first_rows.data() + std::size_t(group) * width);
    read_keys();
    std::vector<Value> row = counts.row(group, keys);
    if (decide_on_counts || having_holds(row)) kept.push_back(std::move(row));
  }
  return kept;
}

}  // namespace tarvik::archive::sql
