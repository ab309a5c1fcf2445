#include "archive/sql/from_clause.h"

#include <algorithm>

#include "archive/archive_error.h"
#include "archive/sql/bound_walk.h"
#include "common/names.h"

namespace tarvik::archive::sql {

namespace {

void collect_conjuncts(const Expr& e, std::vector<const Expr*>& out) {
  if (e.kind == ExprKind::And) {
    collect_conjuncts(*e.args[0], out);
    collect_conjuncts(*e.args[1], out);
  } else {
    out.push_back(&e);
  }
}

// 1 when every column of `e` is on the left of the join, 0 when on the right, -1 otherwise
// (both sides, or no column at all).
int side_of(Bound& e, const JoinNode& node) {
  bool left = false, right = false;
  visit_columns(e, [&](const Bound& c) {
    const auto& ls = node.left->sources;
    if (std::find(ls.begin(), ls.end(), c.source) != ls.end()) {
      left = true;
    } else {
      right = true;
    }
  });
  if (left == right) return -1;
  return left ? 1 : 0;
}

// ON must be equalities joined by AND, each with one side over the left sources and the other
// over the right sources.
void bind_join_condition(JoinNode& node, const Expr& on, ExpressionBinder& binder) {
  std::vector<const Expr*> equalities;
  collect_conjuncts(on, equalities);
  for (const Expr* eq : equalities) {
    if (eq->kind != ExprKind::Compare || eq->op != CompareOp::Equal) {
      throw errors::join_expression_not_supported();
    }
    Bound a = binder.bind(*eq->args[0], node.sources, nullptr, "ON");
    Bound b = binder.bind(*eq->args[1], node.sources, nullptr, "ON");
    if (!binder.unknown_names().empty()) continue;  // reported once every clause is read
    const int side_a = side_of(a, node);
    const int side_b = side_of(b, node);
    if (side_a == 0 && side_b == 1) {
      std::swap(a, b);
    } else if (!(side_a == 1 && side_b == 0)) {
      throw errors::join_expression_not_supported();
    }
    if (!comparable(a.category, b.category)) throw errors::join_type_mismatch();
    node.left_keys.push_back(std::move(a));
    node.right_keys.push_back(std::move(b));
  }
}

}  // namespace

std::unique_ptr<JoinNode> bind_from(const TableRef& ref, const TableLookup& lookup, std::vector<PlanSource>& sources,
                                    ExpressionBinder& binder) {
  auto node = std::make_unique<JoinNode>();
  if (!ref.is_join) {
    PlanSource source;
    source.table = lookup(ref.table);
    source.name = ref.alias.empty() ? ref.table : ref.alias;
    for (const PlanSource& other : sources) {
      if (same_name(other.name, source.name)) throw errors::repeated_table_name(source.name);
    }
    node->source = sources.size();
    node->sources.push_back(node->source);
    sources.push_back(std::move(source));
    return node;
  }
  node->is_join = true;
  node->kind = ref.join;
  node->left = bind_from(*ref.left, lookup, sources, binder);
  node->right = bind_from(*ref.right, lookup, sources, binder);
  node->sources = node->left->sources;
  node->sources.insert(node->sources.end(), node->right->sources.begin(), node->right->sources.end());
  bind_join_condition(*node, *ref.on, binder);
  return node;
}

}  // namespace tarvik::archive::sql
