// The SELECT list bound into the result's columns, named as Jet names them: a column by its name
// (by "Table.Column" when two tables give the same name), an expression by its alias or, without
// one, "Expr" and 1000 plus its position; "*" and "T.*" give every column of their tables.
#pragma once

#include <vector>

#include "archive/sql/ast.h"
#include "archive/sql/expression_binder.h"
#include "archive/sql/plan.h"

namespace tarvik::archive::sql {

// `all` lists every source of the FROM clause; COUNTs go into `aggregates`.
std::vector<OutputColumn> bind_select_list(const std::vector<SelectItem>& items, const std::vector<std::size_t>& all,
                                           const std::vector<PlanSource>& sources, ExpressionBinder& binder,
                                           std::vector<AggregateSpec>& aggregates);

}  // namespace tarvik::archive::sql
