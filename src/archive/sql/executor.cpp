#include "archive/sql/executor.h"

#include <algorithm>
#include <optional>
#include <string>

#include "archive/jet/jet_file.h"
#include "archive/sql/compare.h"
#include "archive/sql/evaluate.h"
#include "archive/sql/group_aggregate.h"
#include "archive/sql/join_index_cache.h"
#include "archive/sql/result_order.h"

namespace tarvik::archive::sql {

namespace {

const Value kNoColumns[1];

// The right side of a join: its rows as row numbers of its sources (-1: the missing side of an
// inner LEFT JOIN), and the index of their keys. A single table's entry n is its row n.
struct Relation {
  std::vector<std::size_t> sources;
  bool single_table = false;
  std::vector<std::int32_t> refs;  // sources.size() per row; none for a single table
  std::shared_ptr<const JoinedTable> table;  // its key index
};

// The name a single table's index is kept under between queries (its table, key columns and
// stored columns), or "" when it cannot be kept: its keys are not plain columns of it.
std::string shared_index_name(const PlanSource& src, std::size_t source, const std::vector<Bound>& keys) {
  std::string name = std::to_string(src.table.tdef_page) + " on";
  for (const Bound& k : keys) {
    if (k.kind != BoundKind::Column || k.source != source) return {};
    name += ' ' + std::to_string(k.column);
  }
  name += " keeping";
  for (std::size_t c : src.stored_columns) name += ' ' + std::to_string(c);
  return name;
}

// False when a key value is null: a null matches nothing.
bool make_key(const std::vector<Bound>& keys, const RowContext& row, std::string& key) {
  key.clear();
  Value scratch;
  for (const Bound& k : keys) {
    const Value& v = operand(k, row, scratch);
    if (v.is_null()) return false;
    append_key(key, v);
  }
  return true;
}

// Marks in `mask` the columns of `source` that `e` reads.
void mark_columns(const Bound& e, std::size_t source, std::vector<bool>& mask) {
  if (e.kind == BoundKind::Column && e.source == source) mask[e.column] = true;
  for (const Bound& a : e.args) mark_columns(a, source, mask);
}

// Whether `e`, over a group row, reads one of its first `key_count` values (the group's keys).
bool reads_group_keys(const Bound& e, std::size_t key_count) {
  if (e.kind == BoundKind::GroupValue && e.index < key_count) return true;
  for (const Bound& a : e.args) {
    if (reads_group_keys(a, key_count)) return true;
  }
  return false;
}

std::vector<bool> stored_mask(const PlanSource& src) {
  std::vector<bool> mask(src.table.columns.size(), false);
  for (std::size_t c : src.stored_columns) mask[c] = true;
  return mask;
}

}  // namespace

struct Execution::State {
  State(const jet::JetFile& f, const Plan& p, JoinIndexCache* c)
      : file(f), plan(p), cache(c), stored(p.sources.size()) {
    ctx.rows.assign(p.sources.size(), nullptr);
    ctx.full.assign(p.sources.size(), 0);
    row_numbers.assign(p.sources.size(), -1);
    rows_of.resize(p.sources.size());
    for (std::size_t s = 0; s < p.sources.size(); ++s) {
      stored[s].width = p.sources[s].stored_columns.size();
      rows_of[s] = &stored[s];
    }
  }

  // Reads a whole table, keeping its stored columns; `each` sees every scanned row first.
  template <typename F>
  void load(std::size_t source, const std::vector<Bound>& own_keys, const F& each) {
    const PlanSource& src = plan.sources[source];
    StoredRows& rows = stored[source];
    jet::TableScan scan = file.scan(src.table);
    std::vector<bool> mask = stored_mask(src);
    for (const Bound& k : own_keys) mark_columns(k, source, mask);
    scan.select_columns(std::move(mask));
    std::vector<Value> row;
    while (scan.next(row)) {
      ctx.rows[source] = row.data();
      ctx.full[source] = 1;
      each(static_cast<std::int32_t>(rows.count));
      for (std::size_t c : src.stored_columns) rows.values.push_back(std::move(row[c]));
      ++rows.count;
    }
    ctx.rows[source] = nullptr;
    ctx.full[source] = 0;
  }

  void bind_stored(std::size_t source, std::int32_t n) {
    ctx.rows[source] = n < 0 ? nullptr : rows_of[source]->row(static_cast<std::size_t>(n));
    ctx.full[source] = 0;
    row_numbers[source] = n;
  }

  const jet::JetFile& file;
  const Plan& plan;
  JoinIndexCache* cache;  // may be null
  std::vector<StoredRows> stored;  // per source, as loaded by this execution
  std::vector<const StoredRows*> rows_of;  // per source: its stored rows, here or in a kept index
  RowContext ctx;
  std::vector<std::int32_t> row_numbers;  // per source: the stored row bound in ctx
  std::unique_ptr<class SpineCursor> top;

  // Each counted row's trail (SpineCursor::append_trail), once a count has run to the end.
  std::vector<std::int32_t> trail;
  bool trail_complete = false;
  bool replaying = false;
  std::size_t trail_position = 0;
  std::optional<bool> selects_leftmost_row;  // decided on the first row read
};

// Walks a join tree along its left spine: the leftmost table's rows (scanned, or stored for a
// parenthesised right side), each followed by its matches at each join in turn.
class SpineCursor {
 public:
  SpineCursor(Execution::State& st, const JoinNode& root, bool streamed) : st_(st), streamed_(streamed) {
    const JoinNode* node = &root;
    while (node->is_join) {
      steps_.push_back(Step{node, build_relation(*node->right, node->right_keys)});
      node = node->left.get();
    }
    std::reverse(steps_.begin(), steps_.end());
    leaf_ = node->source;
    if (!streamed_) st_.load(leaf_, {}, [](std::int32_t) {});
  }

  // The leftmost table is scanned decoding only the columns read before a row is known to pass
  // (WHERE, the joins, the grouping); the other columns it gives the result are read again by the
  // row's pointer when the row's values are asked for, so filtered and counted rows cost little.
  void restart() {
    started_ = false;
    stored_pos_ = 0;
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
    needs_full_read_ = full != lean;
    scan_->select_columns(std::move(lean));
    if (needs_full_read_ && !reader_) {
      reader_.emplace(st_.file.scan(src.table));
      reader_->select_columns(full);
    }
  }

  // The current joined row as a trail entry: the leftmost row's pointer, then per join the entry
  // of the joined side (-1 on the null row of a LEFT JOIN).
  std::size_t trail_width() const { return 1 + steps_.size(); }
  void append_trail(std::vector<std::int32_t>& trail) const {
    trail.push_back(static_cast<std::int32_t>(scan_->row_pointer()));
    for (const Step& step : steps_) trail.push_back(step.missing ? -1 : step.current);
  }
  // Makes the joined row of a trail entry current, reading the leftmost row by its pointer with
  // every column the result reads: no scan, no join key, no WHERE.
  void replay(const std::int32_t* entry) {
    const PlanSource& src = st_.plan.sources[leaf_];
    if (!reader_) {
      reader_.emplace(st_.file.scan(src.table));
      reader_->select_columns(stored_mask(src));
    }
    reader_->read_at(static_cast<std::uint32_t>(entry[0]), leaf_row_);
    whole_row_read_ = true;
    st_.ctx.rows[leaf_] = leaf_row_.empty() ? kNoColumns : leaf_row_.data();
    st_.ctx.full[leaf_] = 1;
    for (std::size_t i = 0; i < steps_.size(); ++i) {
      Step& step = steps_[i];
      step.current = entry[1 + i];
      step.missing = step.current < 0;
      bind(step);
    }
  }

  // Whether the result's columns are the leftmost table's, all of them, in their order: then
  // its row, as read, is the result's row.
  bool selects_leftmost_row() const {
    const auto& columns = st_.plan.columns;
    if (columns.empty() || columns.size() != st_.plan.sources[leaf_].table.columns.size()) return false;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const Bound& e = columns[i].expr;
      if (e.kind != BoundKind::Column || e.source != leaf_ || e.column != i) return false;
    }
    return true;
  }
  const std::vector<Value>& leftmost_row() const { return leaf_row_; }

  // Makes the current leftmost row hold every column the result reads.
  void read_whole_row() {
    if (!streamed_ || !needs_full_read_ || whole_row_read_) return;
    reader_->read_at(scan_->row_pointer(), leaf_row_);
    whole_row_read_ = true;
  }

  bool next() {
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

 private:
  struct Step {
    const JoinNode* node;
    Relation right;
    std::int32_t current = -1;
    bool missing = false;  // on the null row of a LEFT JOIN
    bool looked_up = false;  // last_key holds the key last looked up, last_first its first entry
    std::string last_key = {};
    std::int32_t last_first = -1;
  };

  Relation build_relation(const JoinNode& right, const std::vector<Bound>& keys) {
    Relation rel;
    rel.sources = right.sources;
    std::string key;
    if (!right.is_join) {
      rel.single_table = true;
      const std::string shared_name =
          st_.cache ? shared_index_name(st_.plan.sources[right.source], right.source, keys) : std::string();
      if (!shared_name.empty()) rel.table = st_.cache->find(shared_name);
      if (!rel.table) {
        auto table = std::make_shared<JoinedTable>();
        // The definition's row count sizes the index (a hint: capped, as a damaged one may lie).
        constexpr std::size_t kMostReserved = std::size_t(1) << 18;
        table->index.reserve(std::min<std::size_t>(st_.plan.sources[right.source].table.row_count, kMostReserved));
        st_.load(right.source, keys, [&](std::int32_t n) {
          if (make_key(keys, st_.ctx, key)) table->index.add(key, n);
        });
        table->rows = std::move(st_.stored[right.source]);
        if (!shared_name.empty()) st_.cache->keep(shared_name, table);
        rel.table = std::move(table);
      }
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
    table->rows.count = static_cast<std::size_t>(n);
    rel.table = std::move(table);
    return rel;
  }

  bool next_leaf() {
    if (streamed_) {
      if (!scan_->next(leaf_row_)) return false;
      whole_row_read_ = false;
      st_.ctx.rows[leaf_] = leaf_row_.empty() ? kNoColumns : leaf_row_.data();
      st_.ctx.full[leaf_] = 1;
      return true;
    }
    if (stored_pos_ >= st_.stored[leaf_].count) return false;
    st_.bind_stored(leaf_, static_cast<std::int32_t>(stored_pos_++));
    return true;
  }

  void bind(Step& step) {
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

  bool enter(Step& step) {
    step.current = make_key(step.node->left_keys, st_.ctx, key_) ? first_match(step) : -1;
    step.missing = step.current < 0;
    if (step.missing && step.node->kind != JoinKind::Left) return false;
    bind(step);
    return true;
  }

  // The first entry under key_. Rows often come in runs with the same key (a document's rows,
  // one after another), so the last key looked up and its answer are kept.
  std::int32_t first_match(Step& step) {
    if (step.looked_up && key_ == step.last_key) return step.last_first;
    step.last_key = key_;
    step.last_first = step.right.table->index.first(key_);
    step.looked_up = true;
    return step.last_first;
  }

  bool advance(Step& step) {
    if (step.missing) return false;
    step.current = step.right.table->index.after(step.current);
    if (step.current < 0) return false;
    bind(step);
    return true;
  }

  Execution::State& st_;
  bool streamed_;
  std::size_t leaf_ = 0;
  std::vector<Step> steps_;
  std::optional<jet::TableScan> scan_;
  std::optional<jet::TableScan> reader_;  // reads a passing row's other columns by its pointer
  bool needs_full_read_ = false;
  bool whole_row_read_ = false;
  std::vector<Value> leaf_row_;
  std::size_t stored_pos_ = 0;
  bool started_ = false;
  std::string key_;
};

Execution::Execution(const jet::JetFile& file, const Plan& plan, JoinIndexCache* cache)
    : state_(std::make_unique<State>(file, plan, cache)) {}

Execution::~Execution() = default;

void Execution::restart() {
  State& st = *state_;
  if (!st.top) st.top = std::make_unique<SpineCursor>(st, *st.plan.from, true);
  st.replaying = st.trail_complete;
  st.trail_position = 0;
  if (!st.replaying) st.top->restart();
}

// The count pass keeps the trail of every row it counts, so the reads that follow replay it
// instead of running the joins and WHERE again.
std::int64_t Execution::count() {
  State& st = *state_;
  if (st.trail_complete) return static_cast<std::int64_t>(st.trail.size() / st.top->trail_width());
  restart();
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
    if (!where || truth(*where, st.ctx) == Truth::True) return true;
  }
  return false;
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
  auto emit = [&]() {
    ResultRow row;
    if (plan.grouped) project(row.out);  // over the group row
    else output(row.out);
    for (const SortKey& k : plan.order_by) row.order_keys.push_back(evaluate(k.expr, ctx));
    rows.push_back(std::move(row));
  };

  if (plan.grouped) {
    std::vector<std::vector<Value>> groups = kept_groups();
    sort_groups(groups, plan.group_keys.size());
    for (const std::vector<Value>& group : groups) {
      ctx.group = group.data();
      emit();
    }
    ctx.group = nullptr;
  } else {
    restart();
    while (next()) emit();
  }
  if (plan.distinct) keep_distinct(rows);
  sort_by_order(rows, plan.order_by);

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
  GroupCounts counts(plan.aggregates.size());
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
  while (next()) {
    read_keys();
    const std::uint32_t group = counts.group(keys);
    if (group == first_rows.size() / width) st.top->append_trail(first_rows);
    for (std::size_t a = 0; a < plan.aggregates.size(); ++a) {
      const AggregateSpec& spec = plan.aggregates[a];
      if (spec.star || !operand(spec.arg, ctx, arg_scratch).is_null()) counts.count(group, a);
    }
  }

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
