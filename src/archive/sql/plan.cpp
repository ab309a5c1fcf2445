// Planning a statement, step by step: the FROM clause, then each clause's expressions bound in
// a fixed order (so that a statement with several faults always meets the same one first), unknown
// names refused before any check of grouping or DISTINCT, a
// grouped query rewritten over its group rows, DISTINCT checked against ORDER BY, and the
// columns each table keeps chosen.
#include "archive/sql/plan.h"

#include <algorithm>

#include "archive/archive_error.h"
#include "archive/sql/bound_walk.h"
#include "archive/sql/column_slots.h"
#include "archive/sql/expression_binder.h"
#include "archive/sql/from_clause.h"
#include "archive/sql/group_rewrite.h"
#include "archive/sql/output_columns.h"

namespace tarvik::archive::sql {

Plan make_plan(const SelectStatement& st, const TableLookup& lookup) {
  Plan plan;
  ExpressionBinder binder(plan.sources);
  plan.distinct = st.distinct;
  plan.from = bind_from(*st.from, lookup, plan.sources, binder);
  const std::vector<std::size_t> all = plan.from->sources;

  if (st.where) {
    plan.where = binder.bind(*st.where, all, nullptr, "WHERE");
    ExpressionBinder::require_truth_value(*plan.where, false);
  }
  for (const ExprPtr& g : st.group_by) plan.group_keys.push_back(binder.bind(*g, all, nullptr, "GROUP BY"));
  plan.columns = bind_select_list(st.items, all, plan.sources, binder, plan.aggregates);
  if (st.having) {
    plan.having = binder.bind(*st.having, all, &plan.aggregates, "HAVING");
    ExpressionBinder::require_truth_value(*plan.having, false);
  }
  for (const OrderItem& o : st.order_by) {
    plan.order_by.push_back({binder.bind(*o.expr, all, &plan.aggregates, "ORDER BY"), o.descending});
  }
  if (!binder.unknown_names().empty()) {
    throw errors::too_few_parameters(static_cast<int>(binder.unknown_names().size()));
  }

  plan.grouped = !plan.group_keys.empty() || !plan.aggregates.empty() || plan.having;
  if (plan.grouped) {
    for (OutputColumn& c : plan.columns) rewrite_over_group_row(c.expr, plan.group_keys);
    if (plan.having) rewrite_over_group_row(*plan.having, plan.group_keys);
    for (SortKey& k : plan.order_by) rewrite_over_group_row(k.expr, plan.group_keys);
  }
  if (plan.distinct) {
    for (const SortKey& k : plan.order_by) {
      const bool listed = std::any_of(plan.columns.begin(), plan.columns.end(),
                                      [&](const OutputColumn& c) { return same_bound(c.expr, k.expr); });
      if (!listed) throw errors::order_by_conflicts_with_distinct(k.expr.text);
    }
  }
  assign_slots(plan);
  return plan;
}

}  // namespace tarvik::archive::sql
