#include "archive/sql/executor.h"

#include <stdexcept>

#include "archive/sql/evaluate.h"
#include "archive/sql/execution_state.h"
#include "archive/sql/group_walk.h"
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

bool Execution::State::next_passing() {
  while (top->next()) {
    if (!plan.where || truth(*plan.where, ctx) == Truth::True) {
      top->row_given();
      return true;
    }
  }
  return false;
}

Execution::Execution(const jet::JetFile& file, const Plan& plan, JoinIndexCache* cache)
    : state_(std::make_unique<State>(file, plan, cache)) {}

Execution::~Execution() = default;

SpineCursor& Execution::cursor() {
  State& st = *state_;
  if (!st.top) st.top = std::make_unique<SpineCursor>(st, *st.plan.from, true);
  return *st.top;
}

void Execution::restart() { restart_for(false); }

void Execution::restart_for(bool counting) {
  SpineCursor& top = cursor();
  State& st = *state_;
  st.phase = Phase::Restarted;
  if (st.trail.complete()) st.trail.rewind();
  else top.restart(counting);
}

// The count pass keeps the trail of every row it counts, so the reads that follow replay it
// instead of running the joins and WHERE again.
std::int64_t Execution::count() {
  State& st = *state_;
  if (st.trail.complete()) return st.trail.rows();
  // A query that keeps every row of its one table has that table's rows, counted where they stand
  // (and most often already counted for the run's total); its rows are then read in one scan.
  const JoinNode& from = *st.plan.from;
  if (!from.is_join && !st.plan.where && !st.plan.grouped) return st.file.row_count(st.plan.sources[from.source].table);
  restart_for(true);
  st.trail.start(st.top->trail_width());
  std::int64_t n = 0;
  while (st.next_passing()) {
    st.top->append_trail(st.trail.entries());
    ++n;
  }
  st.trail.finish();
  st.phase = Phase::Spent;
  return n;
}

bool Execution::next() {
  State& st = *state_;
  switch (st.phase) {
    case Phase::Walking: break;
    case Phase::Replaying: {
      const std::int32_t* entry = st.trail.next();
      if (!entry) {
        st.phase = Phase::Ended;
        return false;
      }
      st.top->replay(entry);
      return true;
    }
    case Phase::Restarted:
      if (st.trail.complete()) {
        st.phase = Phase::Replaying;
        return next();
      }
      st.phase = Phase::Walking;
      break;
    case Phase::Ended: return false;
    case Phase::Unstarted: throw std::logic_error("rows of a query read before restart()");
    case Phase::Spent: throw std::logic_error("rows of a query read after a count or materialize, without restart()");
  }
  if (st.next_passing()) return true;
  st.phase = Phase::Ended;
  return false;
}

void Execution::replay_rows(const std::vector<std::uint32_t>& pointers) {
  cursor();
  state_->trail.assign(pointers);
  state_->phase = Phase::Restarted;
}

std::optional<UnmatchedRows> Execution::take_unmatched() {
  if (!state_->top) return std::nullopt;
  return state_->top->take_unmatched();
}

void Execution::check_on_row() const {
  const Phase phase = state_->phase;
  if (phase != Phase::Walking && phase != Phase::Replaying) throw std::logic_error("a query's row read where no row is current");
}

void Execution::output(std::vector<Value>& row) const {
  check_on_row();
  state_->top->read_whole_row();
  project(row);
}

const std::vector<Value>& Execution::current_row(std::vector<Value>& scratch) {
  State& st = *state_;
  check_on_row();
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
    for (const std::vector<Value>& group : grouped_rows()) {
      ctx.group = group.data();
      emit();
    }
    ctx.group = nullptr;
  } else {
    restart();
    while (next()) emit();
  }
  state_->phase = Phase::Spent;
  if (plan.distinct) sort_distinct(rows, ctx.text_order);
  sort_by_order(rows, plan.order_by, ctx.text_order);

  std::vector<std::vector<Value>> result;
  result.reserve(rows.size());
  for (ResultRow& row : rows) result.push_back(std::move(row.out));
  return result;
}

std::vector<std::vector<Value>> Execution::grouped_rows() {
  // A count's trail gives rows without their scan position: the query is walked again.
  cursor().restart();
  state_->phase = Phase::Walking;
  GroupWalk groups(*state_);
  groups.count_rows();
  std::vector<std::vector<Value>> kept = groups.kept_groups();
  sort_groups(kept, state_->plan.group_keys.size(), state_->ctx.text_order);
  return kept;
}

}  // namespace tarvik::archive::sql
