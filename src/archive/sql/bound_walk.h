// Walks over bound expressions, written once: the planning steps and the executor find columns,
// test what an expression reads and tell whether two expressions are the same through them.
#pragma once

#include <concepts>
#include <cstddef>
#include <type_traits>
#include <vector>

#include "archive/sql/plan.h"

namespace tarvik::archive::sql {

// Calls `f` on every node of `e`, outermost first, each node before its arguments (so `f` may
// rewrite a node and its arguments are those it left). When `f` returns bool, false stops the walk
// and the walk returns false; a walk that visits every node returns true.
template <typename B, typename F>
  requires std::same_as<std::remove_const_t<B>, Bound>
bool walk_bound(B& e, const F& f) {
  if constexpr (std::is_void_v<std::invoke_result_t<const F&, B&>>) {
    f(e);
  } else if (!f(e)) {
    return false;
  }
  for (B& a : e.args) {
    if (!walk_bound(a, f)) return false;
  }
  return true;
}

// Whether some node of `e` satisfies `pred`; the walk stops at the first.
template <typename F>
bool any_node(const Bound& e, const F& pred) {
  return !walk_bound(e, [&](const Bound& n) { return !pred(n); });
}

// Calls `f` on every column reference in `e`, outermost first.
template <typename B, typename F>
void visit_columns(B& e, const F& f) {
  walk_bound(e, [&](B& n) {
    if (n.kind == BoundKind::Column) f(n);
  });
}

// Marks in `mask` the columns of `source` that `e` reads.
void mark_columns(const Bound& e, std::size_t source, std::vector<bool>& mask);

// Whether `e` reads no source other than `source` (and nothing of a group row).
bool reads_only(const Bound& e, std::size_t source);

// Whether `e`, over a group row, reads one of its first `key_count` values (the group's keys).
bool reads_group_keys(const Bound& e, std::size_t key_count);

// Whether `a` and `b` are the same expression: the same columns, literals, operators and
// aggregates in the same shape (their texts may differ).
bool same_bound(const Bound& a, const Bound& b);

}  // namespace tarvik::archive::sql
