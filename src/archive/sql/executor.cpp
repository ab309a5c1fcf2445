#include "archive/sql/executor.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "archive/jet/jet_file.h"
#include "archive/sql/compare.h"
#include "archive/sql/evaluate.h"

namespace tarvik::archive::sql {

namespace {

const Value kNoColumns[1];

// The stored columns of one table's rows, row after row.
struct StoredRows {
  std::size_t width = 0;
  std::size_t count = 0;
  std::vector<Value> values;

  const Value* row(std::size_t i) const { return width == 0 ? kNoColumns : values.data() + i * width; }
};

// Join keys to entries, each key's entries chained in the order they were added.
class KeyIndex {
 public:
  void add(std::string&& key, std::int32_t entry) {
    if (next_.size() <= static_cast<std::size_t>(entry)) next_.resize(static_cast<std::size_t>(entry) + 1, -1);
    auto [it, inserted] = heads_.try_emplace(std::move(key), entry, entry);
    if (!inserted) {
      next_[static_cast<std::size_t>(it->second.second)] = entry;
      it->second.second = entry;
    }
  }
  std::int32_t first(const std::string& key) const {
    const auto it = heads_.find(key);
    return it == heads_.end() ? -1 : it->second.first;
  }
  std::int32_t after(std::int32_t entry) const { return next_[static_cast<std::size_t>(entry)]; }

 private:
  std::unordered_map<std::string, std::pair<std::int32_t, std::int32_t>> heads_;
  std::vector<std::int32_t> next_;
};

// The right side of a join: its rows as row numbers of its sources (-1: the missing side of an
// inner LEFT JOIN), and the index of their keys.
struct Relation {
  std::vector<std::size_t> sources;
  std::vector<std::int32_t> refs;  // sources.size() per row
  KeyIndex index;
};

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

std::vector<bool> stored_mask(const PlanSource& src) {
  std::vector<bool> mask(src.table.columns.size(), false);
  for (std::size_t c : src.stored_columns) mask[c] = true;
  return mask;
}

int compare_rows(const std::vector<Value>& a, const std::vector<Value>& b,
                 const std::vector<SortKey>* order) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    int c = compare_for_sort(a[i], b[i]);
    if (order && (*order)[i].descending) c = -c;
    if (c != 0) return c;
  }
  return 0;
}

}  // namespace

struct Execution::State {
  State(const jet::JetFile& f, const Plan& p) : file(f), plan(p), stored(p.sources.size()) {
    ctx.rows.assign(p.sources.size(), nullptr);
    ctx.full.assign(p.sources.size(), 0);
    row_numbers.assign(p.sources.size(), -1);
    for (std::size_t s = 0; s < p.sources.size(); ++s) stored[s].width = p.sources[s].stored_columns.size();
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
    ctx.rows[source] = n < 0 ? nullptr : stored[source].row(static_cast<std::size_t>(n));
    ctx.full[source] = 0;
    row_numbers[source] = n;
  }

  const jet::JetFile& file;
  const Plan& plan;
  std::vector<StoredRows> stored;  // per source
  RowContext ctx;
  std::vector<std::int32_t> row_numbers;  // per source: the stored row bound in ctx
  std::unique_ptr<class SpineCursor> top;
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
  };

  Relation build_relation(const JoinNode& right, const std::vector<Bound>& keys) {
    Relation rel;
    rel.sources = right.sources;
    std::string key;
    if (!right.is_join) {
      st_.load(right.source, keys, [&](std::int32_t n) {
        rel.refs.push_back(n);
        if (make_key(keys, st_.ctx, key)) rel.index.add(std::move(key), n);
      });
      return rel;
    }
    SpineCursor inner(st_, right, false);
    inner.restart();
    std::int32_t n = 0;
    while (inner.next()) {
      for (std::size_t s : rel.sources) rel.refs.push_back(st_.row_numbers[s]);
      if (make_key(keys, st_.ctx, key)) rel.index.add(std::move(key), n);
      ++n;
    }
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
    for (std::size_t j = 0; j < m; ++j) {
      const std::int32_t n = step.missing ? -1 : step.right.refs[static_cast<std::size_t>(step.current) * m + j];
      st_.bind_stored(step.right.sources[j], n);
    }
  }

  bool enter(Step& step) {
    step.current = make_key(step.node->left_keys, st_.ctx, key_) ? step.right.index.first(key_) : -1;
    step.missing = step.current < 0;
    if (step.missing && step.node->kind != JoinKind::Left) return false;
    bind(step);
    return true;
  }

  bool advance(Step& step) {
    if (step.missing) return false;
    step.current = step.right.index.after(step.current);
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

Execution::Execution(const jet::JetFile& file, const Plan& plan)
    : state_(std::make_unique<State>(file, plan)) {}

Execution::~Execution() = default;

void Execution::restart() {
  if (!state_->top) state_->top = std::make_unique<SpineCursor>(*state_, *state_->plan.from, true);
  state_->top->restart();
}

std::int64_t Execution::count() {
  restart();
  std::int64_t n = 0;
  while (next()) ++n;
  return n;
}

bool Execution::next() {
  const std::optional<Bound>& where = state_->plan.where;
  while (state_->top->next()) {
    if (!where || truth(*where, state_->ctx) == Truth::True) return true;
  }
  return false;
}

void Execution::output(std::vector<Value>& row) const {
  state_->top->read_whole_row();
  project(row);
}

void Execution::project(std::vector<Value>& row) const {
  const auto& columns = state_->plan.columns;
  row.resize(columns.size());
  for (std::size_t i = 0; i < columns.size(); ++i) row[i] = evaluate(columns[i].expr, state_->ctx);
}

std::vector<std::vector<Value>> Execution::materialize() {
  const Plan& plan = state_->plan;
  RowContext& ctx = state_->ctx;
  struct Item {
    std::vector<Value> out;
    std::vector<Value> keys;  // ORDER BY values
  };
  std::vector<Item> items;
  auto emit = [&]() {
    Item item;
    if (plan.grouped) {
      project(item.out);  // over the group row
    } else {
      output(item.out);
    }
    for (const SortKey& k : plan.order_by) item.keys.push_back(evaluate(k.expr, ctx));
    items.push_back(std::move(item));
  };

  restart();
  if (!plan.grouped) {
    while (next()) emit();
  } else {
    struct Group {
      std::vector<Value> row;  // keys, then counts
    };
    std::vector<Group> groups;
    std::unordered_map<std::string, std::size_t> by_key;
    const std::size_t g = plan.group_keys.size();
    std::string key;
    while (next()) {
      key.clear();
      std::vector<Value> keys;
      for (const Bound& k : plan.group_keys) {
        keys.push_back(evaluate(k, ctx));
        append_key(key, keys.back());
      }
      auto [it, inserted] = by_key.try_emplace(key, groups.size());
      if (inserted) {
        Group group;
        group.row = std::move(keys);
        for (std::size_t a = 0; a < plan.aggregates.size(); ++a) group.row.push_back(Value::long_(0));
        groups.push_back(std::move(group));
      }
      std::vector<Value>& row = groups[it->second].row;
      Value scratch;
      for (std::size_t a = 0; a < plan.aggregates.size(); ++a) {
        const AggregateSpec& spec = plan.aggregates[a];
        if (spec.star || !operand(spec.arg, ctx, scratch).is_null()) {
          row[g + a] = Value::long_(row[g + a].as_long() + 1);
        }
      }
    }
    if (groups.empty() && g == 0) {  // COUNT over no rows is one row of zeros
      Group group;
      for (std::size_t a = 0; a < plan.aggregates.size(); ++a) group.row.push_back(Value::long_(0));
      groups.push_back(std::move(group));
    }
    std::stable_sort(groups.begin(), groups.end(), [g](const Group& a, const Group& b) {
      for (std::size_t i = 0; i < g; ++i) {
        const int c = compare_for_sort(a.row[i], b.row[i]);
        if (c != 0) return c < 0;
      }
      return false;
    });
    for (const Group& group : groups) {
      ctx.group = group.row.data();
      if (plan.having && truth(*plan.having, ctx) != Truth::True) continue;
      emit();
    }
    ctx.group = nullptr;
  }

  if (plan.distinct) {
    std::unordered_set<std::string> seen;
    std::vector<Item> unique;
    std::string key;
    for (Item& item : items) {
      key.clear();
      for (const Value& v : item.out) append_key(key, v);
      if (seen.insert(key).second) unique.push_back(std::move(item));
    }
    items = std::move(unique);
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return compare_rows(a.out, b.out, nullptr) < 0; });
  }
  if (!plan.order_by.empty()) {
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
      return compare_rows(a.keys, b.keys, &plan.order_by) < 0;
    });
  }
  std::vector<std::vector<Value>> rows;
  rows.reserve(items.size());
  for (Item& item : items) rows.push_back(std::move(item.out));
  return rows;
}

}  // namespace tarvik::archive::sql
