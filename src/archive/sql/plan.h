// The plan of a SELECT statement: its names looked up in the archive's table definitions, its
// expressions typed and checked, its joins reduced to equalities between the two sides, and the
// columns each table must keep in memory when it is not the streamed one.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/jet/table_def.h"
#include "archive/sql/ast.h"
#include "archive/sql/compare.h"
#include "archive/value.h"

namespace tarvik::archive::sql {

// The type and declared size of an expression's result, as the record set reports them.
struct DeclaredType {
  FieldType type = FieldType::Text;
  std::uint16_t size = 0;
};

enum class BoundKind {
  Column,      // a column of one table of the FROM clause
  Literal,
  Compare,
  And,
  Or,
  Not,
  IsNull,
  RowMissing,  // whether the row of one source is missing (a LEFT JOIN found no match for it)
  Len,
  Aggregate,   // COUNT, while binding; replaced by GroupValue in a grouped plan
  GroupValue,  // a value of the current group: its keys, then its aggregates
};

struct Bound {
  BoundKind kind = BoundKind::Literal;
  std::size_t source = 0;  // Column, RowMissing
  std::size_t column = 0;  // Column: position in the table's columns
  std::size_t slot = 0;    // Column: position among the source's stored columns
  Value literal;           // Literal
  CompareOp op = CompareOp::Equal;
  bool negated = false;    // IsNull: IS NOT NULL; RowMissing: present
  std::size_t index = 0;   // Aggregate: aggregate number; GroupValue: position in the group row
  std::vector<Bound> args;
  Category category = Category::Null;  // of the result, for type checks
  DeclaredType type;                   // of the result
  std::string text;                    // as written, for messages
};

struct AggregateSpec {
  bool star = false;  // COUNT(*): counts rows; otherwise non-null values of `arg`
  Bound arg;
};

// One table of the FROM clause (a table joined to itself is two sources).
struct PlanSource {
  jet::TableDef table;
  std::string name;  // the alias, or the table's name
  // Columns kept in memory when this source is hashed or materialised, in column order; the
  // columns that only its own join condition reads are not kept.
  std::vector<std::size_t> stored_columns;
};

struct JoinNode {
  bool is_join = false;
  std::size_t source = 0;  // a leaf
  JoinKind kind = JoinKind::Inner;
  std::unique_ptr<JoinNode> left, right;
  std::vector<Bound> left_keys, right_keys;  // pairwise equal; each over its own side's sources
  std::vector<std::size_t> sources;          // the sources under this node, leftmost first
};

struct OutputColumn {
  std::string name;
  Bound expr;
};

struct SortKey {
  Bound expr;
  bool descending = false;
};

struct Plan {
  std::vector<PlanSource> sources;
  std::unique_ptr<JoinNode> from;
  std::optional<Bound> where;
  bool grouped = false;             // one output row per group (GROUP BY, COUNT or HAVING)
  std::vector<Bound> group_keys;    // over the sources
  std::vector<AggregateSpec> aggregates;
  std::optional<Bound> having;      // over the group row
  bool distinct = false;
  std::vector<OutputColumn> columns;  // over the sources, or the group row when grouped
  std::vector<SortKey> order_by;      // likewise

  // Whether rows can be produced one at a time from the scan of the leftmost table.
  bool streams() const { return !grouped && !distinct && order_by.empty(); }
};

// Finds a table definition by name without regard to case; throws ArchiveError 3078 when none.
using TableLookup = std::function<jet::TableDef(std::string_view name)>;

// Throws ArchiveError: 3078 unknown table, 3061 unknown names (counted), 3079 ambiguous column,
// 3135 repeated table name, 3296 join condition other than equalities, 3615/3464 type mismatch,
// 3122 column neither grouped nor aggregated, 3096 aggregate out of place, 3093 ORDER BY against
// DISTINCT, 3251 constructs outside the subset.
Plan make_plan(const SelectStatement& statement, const TableLookup& lookup);

}  // namespace tarvik::archive::sql
