// The parsed form of one SELECT statement, before any name is looked up in the archive.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarvik::archive::sql {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

enum class ExprKind {
  Column,    // [qualifier.]name
  Number,    // numeric literal, text as written
  String,    // text literal
  Null,      // NULL
  Negate,    // -operand
  Compare,   // left op right
  And,
  Or,
  Not,
  IsNull,    // operand IS [NOT] NULL
  Function,  // name(args); COUNT(*) has `star` set
};

enum class CompareOp { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

struct Expr {
  ExprKind kind = ExprKind::Null;
  std::string qualifier;  // Column: table or alias, empty when unqualified
  std::string name;       // Column: column name; Function: function name
  std::string literal;    // Number / String: as written (String: quotes removed), UTF-8
  CompareOp op = CompareOp::Equal;
  bool negated = false;   // IsNull: IS NOT NULL
  bool star = false;      // Function: COUNT(*)
  std::vector<ExprPtr> args;  // operands: Negate/Not/IsNull one, Compare/And/Or two, Function its arguments
  std::string text;       // the expression's source text, for messages and default column names
};

struct SelectItem {
  bool all_columns = false;  // * (qualifier empty) or qualifier.*
  std::string qualifier;
  ExprPtr expr;              // when not all_columns
  std::string alias;         // AS name, empty when none
};

enum class JoinKind { Inner, Left };

struct TableRef;
using TableRefPtr = std::unique_ptr<TableRef>;

// A FROM item: a table with an optional alias, or a join of two items.
struct TableRef {
  bool is_join = false;
  std::string table;  // table name (not a join)
  std::string alias;  // AS alias, empty when none (not a join)
  JoinKind join = JoinKind::Inner;
  TableRefPtr left, right;
  ExprPtr on;
};

struct OrderItem {
  ExprPtr expr;
  bool descending = false;
};

struct SelectStatement {
  bool distinct = false;
  std::vector<SelectItem> items;
  TableRefPtr from;
  ExprPtr where;
  std::vector<ExprPtr> group_by;
  ExprPtr having;
  std::vector<OrderItem> order_by;
};

}  // namespace tarvik::archive::sql
