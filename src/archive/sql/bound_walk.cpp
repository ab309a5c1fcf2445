#include "archive/sql/bound_walk.h"

namespace tarvik::archive::sql {

void mark_columns(const Bound& e, std::size_t source, std::vector<bool>& mask) {
  visit_columns(e, [&](const Bound& c) {
    if (c.source == source) mask[c.column] = true;
  });
}

bool reads_only(const Bound& e, std::size_t source) {
  return !any_node(e, [source](const Bound& n) {
    return n.kind == BoundKind::Aggregate || n.kind == BoundKind::GroupValue ||
           (n.kind == BoundKind::Column && n.source != source);
  });
}

bool reads_group_keys(const Bound& e, std::size_t key_count) {
  return any_node(e, [key_count](const Bound& n) { return n.kind == BoundKind::GroupValue && n.index < key_count; });
}

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
