// The FROM clause bound: its tables looked up and numbered as sources (a table joined to itself is
// two), its joins nested as written, each ON condition reduced to equalities between a left-side
// and a right-side expression.
#pragma once

#include <memory>
#include <vector>

#include "archive/sql/ast.h"
#include "archive/sql/expression_binder.h"
#include "archive/sql/plan.h"

namespace tarvik::archive::sql {

// Appends the tables of `ref` to `sources` and returns its join tree. Names in ON conditions go
// through `binder`, which also records the unknown ones.
std::unique_ptr<JoinNode> bind_from(const TableRef& ref, const TableLookup& lookup, std::vector<PlanSource>& sources,
                                    ExpressionBinder& binder);

}  // namespace tarvik::archive::sql
