// The last steps of a kept result: DISTINCT (rows equal by Jet's comparison kept once, the first
// met standing for them, then sorted by all their columns) and ORDER BY (a stable sort by the
// ORDER BY values, each key ascending or descending).
#pragma once

#include <vector>

#include "archive/sql/plan.h"
#include "archive/value.h"

namespace tarvik::archive::sql {

struct ResultRow {
  std::vector<Value> out;
  std::vector<Value> order_keys;  // the ORDER BY values
};

void keep_distinct(std::vector<ResultRow>& rows);
void sort_by_order(std::vector<ResultRow>& rows, const std::vector<SortKey>& order_by);

}  // namespace tarvik::archive::sql
