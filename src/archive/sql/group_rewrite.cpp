#include "archive/sql/group_rewrite.h"

#include "archive/archive_error.h"
#include "archive/sql/bound_walk.h"

namespace tarvik::archive::sql {

void rewrite_over_group_row(Bound& e, const std::vector<Bound>& group_keys) {
  for (std::size_t i = 0; i < group_keys.size(); ++i) {
    if (same_bound(e, group_keys[i])) {
      e.kind = BoundKind::GroupValue;
      e.index = i;
      e.args.clear();
      return;
    }
  }
  if (e.kind == BoundKind::Aggregate) {
    e.kind = BoundKind::GroupValue;
    e.index = group_keys.size() + e.index;
    return;
  }
  if (e.kind == BoundKind::Column) throw errors::not_part_of_aggregate(e.text);
  for (Bound& a : e.args) rewrite_over_group_row(a, group_keys);
}

}  // namespace tarvik::archive::sql
