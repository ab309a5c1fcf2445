#include "archive/sql/column_slots.h"

#include <algorithm>
#include <set>

#include "archive/sql/bound_walk.h"

namespace tarvik::archive::sql {

namespace {

// The right keys of a join whose right side is one table are read from its scanned rows while
// its hash is built, so they need not be kept.
template <typename F>
void keep_join_keys(JoinNode& node, const F& keep) {
  if (!node.is_join) return;
  for (Bound& k : node.left_keys) keep(k);
  if (node.right->is_join) {
    for (Bound& k : node.right_keys) keep(k);
  }
  keep_join_keys(*node.left, keep);
  keep_join_keys(*node.right, keep);
}

template <typename F>
void set_join_slots(JoinNode& node, const F& set_slot) {
  if (!node.is_join) return;
  for (Bound& k : node.left_keys) set_slot(k);
  for (Bound& k : node.right_keys) set_slot(k);
  set_join_slots(*node.left, set_slot);
  set_join_slots(*node.right, set_slot);
}

// Calls `f` on every expression of the plan outside its FROM clause.
template <typename F>
void for_each_clause_expression(Plan& plan, const F& f) {
  if (plan.where) f(*plan.where);
  for (Bound& k : plan.group_keys) f(k);
  for (AggregateSpec& a : plan.aggregates) {
    if (!a.star) f(a.arg);
  }
  for (OutputColumn& c : plan.columns) f(c.expr);
  for (SortKey& k : plan.order_by) f(k.expr);
  // Over the group row, so no column is left in it.
  if (plan.having) f(*plan.having);
}

// The plain key columns of each single table joined on the right, as (source, column).
void collect_right_keys(const JoinNode& node, std::set<std::pair<std::size_t, std::size_t>>& keys) {
  if (!node.is_join) return;
  if (!node.right->is_join) {
    for (const Bound& k : node.right_keys) {
      if (k.kind == BoundKind::Column) keys.emplace(k.source, k.column);
    }
  }
  collect_right_keys(*node.left, keys);
  collect_right_keys(*node.right, keys);
}

// A matched row's keys are never null, and a missing row's columns all are: so a null test of
// such a key is the test of a missing row, which reads no column. Otherwise the table would keep
// the key for every one of its rows, in an index of its own, only to test it for null (the
// accompanying invoices without a destination).
void test_matches_not_keys(Bound& e, const std::set<std::pair<std::size_t, std::size_t>>& right_keys) {
  walk_bound(e, [&](Bound& n) {
    if (n.kind == BoundKind::IsNull && n.args[0].kind == BoundKind::Column &&
        right_keys.count({n.args[0].source, n.args[0].column}) != 0) {
      n.kind = BoundKind::RowMissing;
      n.source = n.args[0].source;
      n.args.clear();  // so the walk goes no deeper
    }
  });
}

}  // namespace

void assign_slots(Plan& plan) {
  std::set<std::pair<std::size_t, std::size_t>> right_keys;
  collect_right_keys(*plan.from, right_keys);
  if (!right_keys.empty()) for_each_clause_expression(plan, [&](Bound& e) { test_matches_not_keys(e, right_keys); });

  std::vector<std::set<std::size_t>> kept(plan.sources.size());
  auto keep = [&](Bound& e) { visit_columns(e, [&](const Bound& c) { kept[c.source].insert(c.column); }); };
  for_each_clause_expression(plan, keep);
  keep_join_keys(*plan.from, keep);

  for (std::size_t s = 0; s < plan.sources.size(); ++s) {
    plan.sources[s].stored_columns.assign(kept[s].begin(), kept[s].end());
  }
  auto set_slot = [&](Bound& e) {
    visit_columns(e, [&](Bound& c) {
      const auto& stored = plan.sources[c.source].stored_columns;
      const auto it = std::find(stored.begin(), stored.end(), c.column);
      c.slot = it == stored.end() ? 0 : static_cast<std::size_t>(it - stored.begin());
    });
  };
  for_each_clause_expression(plan, set_slot);
  set_join_slots(*plan.from, set_slot);
}

}  // namespace tarvik::archive::sql
