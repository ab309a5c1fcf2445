// Evaluation of bound expressions on one joined row, with Jet's three-valued logic: a comparison
// with a null is null, WHERE and HAVING keep a row only when their condition is true.
#pragma once

#include <vector>

#include "archive/sql/collation.h"
#include "archive/sql/plan.h"
#include "archive/value.h"

namespace tarvik::archive::sql {

// The row an expression is evaluated on.
struct RowContext {
  // Per source: its row, or null for the missing side of a LEFT JOIN.
  std::vector<const Value*> rows;
  // Per source: whether the row holds every column of the table (a scanned row) rather than only
  // its stored columns.
  std::vector<char> full;
  // The group row of a grouped query: its keys, then its aggregates.
  const Value* group = nullptr;
  // How the archive's text compares.
  TextOrder text_order = TextOrder::General;
};

// The value of a column reference without copying it; any other expression is evaluated into
// `scratch`, which is returned.
const Value& operand(const Bound& e, const RowContext& row, Value& scratch);

Value evaluate(const Bound& e, const RowContext& row);

enum class Truth { False, True, Unknown };

// A condition's truth; a non-zero number is true, a null unknown.
Truth truth(const Bound& e, const RowContext& row);

}  // namespace tarvik::archive::sql
