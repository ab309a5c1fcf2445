// The one walk over bound expressions and the tests built on it: every node kind is reached,
// outermost first, a false answer stops the walk, a rewritten node's arguments are the ones
// walked, and the column and group-key tests find what they look for however deep it is.
#include <gtest/gtest.h>

#include <vector>

#include "archive/sql/bound_walk.h"

namespace tarvik::archive::sql {
namespace {

Bound node(BoundKind kind, std::vector<Bound> args = {}) {
  Bound b;
  b.kind = kind;
  b.args = std::move(args);
  return b;
}

Bound column(std::size_t source, std::size_t col) {
  Bound b = node(BoundKind::Column);
  b.source = source;
  b.column = col;
  return b;
}

Bound group_value(std::size_t index) {
  Bound b = node(BoundKind::GroupValue);
  b.index = index;
  return b;
}

// Every kind of node, each below the one before: NOT(a OR (b AND (LEN(x) = 1 ...))).
Bound every_kind() {
  Bound compare = node(BoundKind::Compare, {node(BoundKind::Len, {column(0, 2)}), node(BoundKind::Literal)});
  Bound deepest = node(BoundKind::And, {compare, node(BoundKind::IsNull, {column(1, 0)})});
  Bound middle = node(BoundKind::Or, {node(BoundKind::RowMissing), deepest});
  return node(BoundKind::Not, {node(BoundKind::And, {middle, node(BoundKind::Aggregate, {group_value(3)})})});
}

TEST(BoundWalk, VisitsEveryNodeKindOutermostFirst) {
  const Bound e = every_kind();
  std::vector<BoundKind> seen;
  EXPECT_TRUE(walk_bound(e, [&](const Bound& n) { seen.push_back(n.kind); }));
  using K = BoundKind;
  const std::vector<BoundKind> expected = {K::Not,     K::And,    K::Or,     K::RowMissing, K::And,
                                           K::Compare, K::Len,    K::Column, K::Literal,    K::IsNull,
                                           K::Column,  K::Aggregate, K::GroupValue};
  EXPECT_EQ(seen, expected);
}

TEST(BoundWalk, AFalseAnswerStopsTheWalk) {
  const Bound e = every_kind();
  int visited = 0;
  const bool finished = walk_bound(e, [&](const Bound& n) {
    ++visited;
    return n.kind != BoundKind::Compare;
  });
  EXPECT_FALSE(finished);
  EXPECT_EQ(visited, 6);
  EXPECT_TRUE(any_node(every_kind(), [](const Bound& n) { return n.kind == BoundKind::IsNull; }));
  EXPECT_FALSE(any_node(column(0, 0), [](const Bound& n) { return n.kind == BoundKind::IsNull; }));
}

TEST(BoundWalk, ARewrittenNodeIsWalkedAsRewritten) {
  Bound e = every_kind();
  int columns = 0;
  walk_bound(e, [&](Bound& n) {
    if (n.kind == BoundKind::Column) ++columns;
    if (n.kind == BoundKind::Compare) n.args.clear();  // its column is no longer below it
  });
  EXPECT_EQ(columns, 1);
  std::vector<std::size_t> sources;
  visit_columns(e, [&](Bound& c) { sources.push_back(c.source); });
  EXPECT_EQ(sources, std::vector<std::size_t>{1});
}

TEST(BoundWalk, ColumnAndGroupTestsLookAtEveryDepth) {
  const Bound e = every_kind();
  std::vector<bool> mask(4, false);
  mark_columns(e, 0, mask);
  EXPECT_EQ(mask, (std::vector<bool>{false, false, true, false}));
  mark_columns(e, 1, mask);
  EXPECT_EQ(mask, (std::vector<bool>{true, false, true, false}));

  EXPECT_TRUE(reads_only(node(BoundKind::Not, {node(BoundKind::Len, {column(2, 1)})}), 2));
  EXPECT_FALSE(reads_only(node(BoundKind::Not, {node(BoundKind::Len, {column(2, 1)})}), 1));
  EXPECT_FALSE(reads_only(node(BoundKind::Not, {group_value(0)}), 2)) << "a group value is no column of a source";
  EXPECT_TRUE(reads_only(node(BoundKind::Literal), 0));

  EXPECT_TRUE(reads_group_keys(e, 4)) << "value 3 is a key among four";
  EXPECT_FALSE(reads_group_keys(e, 3)) << "value 3 is a count after three keys";
}

TEST(BoundWalk, SameBoundComparesTheWholeShape) {
  EXPECT_TRUE(same_bound(every_kind(), every_kind()));
  Bound other = every_kind();
  other.args[0].args[0].args[1].args[0].args[0].args[0].column = 3;  // the column under LEN
  EXPECT_FALSE(same_bound(every_kind(), other));
}

}  // namespace
}  // namespace tarvik::archive::sql
