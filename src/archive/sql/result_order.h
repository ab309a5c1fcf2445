// The last steps of a kept result: DISTINCT (rows equal by Jet's comparison kept once, the first
// met standing for them, then sorted by all their columns) and ORDER BY (a stable sort by the
// ORDER BY values, each key ascending or descending). Repeated rows are dropped as they come, so
// memory holds only the distinct ones.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "archive/sql/collation.h"
#include "archive/sql/plan.h"
#include "archive/value.h"

namespace tarvik::archive::sql {

struct ResultRow {
  std::vector<Value> out;
  std::vector<Value> order_keys;  // the ORDER BY values
};

// Tells the first row of each set of equal rows from the rows equal to one met before.
class DistinctRows {
 public:
  explicit DistinctRows(TextOrder order) : order_(order) {}
  bool first_of_its_kind(const std::vector<Value>& row);

 private:
  TextOrder order_;
  std::unordered_set<std::string> seen_;
  std::string key_;
};

// Sorts distinct rows by all their columns, stably.
void sort_distinct(std::vector<ResultRow>& rows, TextOrder text_order);
void sort_by_order(std::vector<ResultRow>& rows, const std::vector<SortKey>& order_by, TextOrder text_order);

}  // namespace tarvik::archive::sql
