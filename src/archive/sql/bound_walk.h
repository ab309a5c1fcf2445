// Walks over bound expressions that the planning steps share: finding their columns and telling
// whether two of them are the same expression.
#pragma once

#include "archive/sql/plan.h"

namespace tarvik::archive::sql {

// Calls `f` on every column reference in `e`, outermost first.
template <typename F>
void visit_columns(Bound& e, const F& f) {
  if (e.kind == BoundKind::Column) f(e);
  for (Bound& a : e.args) visit_columns(a, f);
}

// Whether `a` and `b` are the same expression: the same columns, literals, operators and
// aggregates in the same shape (their texts may differ).
bool same_bound(const Bound& a, const Bound& b);

}  // namespace tarvik::archive::sql
