#include "archive/sql/bound_walk.h"

namespace tarvik::archive::sql {

bool same_bound(const Bound& a, const Bound& b) {
  if (a.kind != b.kind || a.args.size() != b.args.size()) return false;
  switch (a.kind) {
    case BoundKind::Column:
      if (a.source != b.source || a.column != b.column) return false;
      break;
    case BoundKind::Literal:
      if (!(a.literal == b.literal)) return false;
      break;
    case BoundKind::Compare:
      if (a.op != b.op) return false;
      break;
    case BoundKind::IsNull:
      if (a.negated != b.negated) return false;
      break;
    case BoundKind::RowMissing:
      if (a.source != b.source || a.negated != b.negated) return false;
      break;
    case BoundKind::Aggregate:
    case BoundKind::GroupValue:
      if (a.index != b.index) return false;
      break;
    default: break;
  }
  for (std::size_t i = 0; i < a.args.size(); ++i) {
    if (!same_bound(a.args[i], b.args[i])) return false;
  }
  return true;
}

}  // namespace tarvik::archive::sql
