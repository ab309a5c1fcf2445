// A recursive-descent parser for the SELECT statements of Jet's SQL that the engine runs:
//
//   SELECT [DISTINCT | ALL] item {, item} FROM from_item
//     [WHERE expr] [GROUP BY expr {, expr}] [HAVING expr] [ORDER BY expr [ASC|DESC] {, ...}] [;]
//   item      := * | name.* | expr [AS name]
//   from_item := primary {(INNER | LEFT [OUTER]) JOIN primary ON expr}
//   primary   := ( from_item ) | table [[AS] alias]
//   expr      := or;  or := and {OR and};  and := not {AND not};  not := NOT not | comparison
//   comparison:= operand [(= | <> | < | <= | > | >=) operand | IS [NOT] NULL]
//   operand   := [-|+] operand | number | 'text' | "text" | NULL | ( expr ) | name(args) | [name.]name
//
// Keywords in any letter case; names plain or [bracketed]. Jet SQL outside this subset (TOP, RIGHT
// JOIN, UNION, subqueries, LIKE, IN, BETWEEN, arithmetic, comma joins...) is refused with an error
// that names it, never read loosely.
#pragma once

#include <string_view>

#include "archive/sql/ast.h"

namespace tarvik::archive::sql {

// Throws ArchiveError (3129, 3131, 3141, 3075, 3251) on a statement it cannot read.
SelectStatement parse(std::string_view statement);

}  // namespace tarvik::archive::sql
