// A grouped query's expressions rewritten over the group row (its keys, then its aggregates): an
// expression equal to a group key, or an aggregate, becomes that value of the row; any other
// column is an error, as in Jet.
#pragma once

#include <vector>

#include "archive/sql/plan.h"

namespace tarvik::archive::sql {

// Throws 3122 for a column that is neither grouped nor aggregated.
void rewrite_over_group_row(Bound& e, const std::vector<Bound>& group_keys);

}  // namespace tarvik::archive::sql
