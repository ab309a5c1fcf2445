// Binds the expressions of a statement to the tables of its FROM clause: names looked up as Jet
// does (a qualified name in its table, a plain one in the only table that has it), literals
// typed, operators and functions checked for the types they take. A name no table has is a
// parameter to Jet: it is recorded, and the statement is refused once all its clauses are read.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "archive/sql/ast.h"
#include "archive/sql/plan.h"

namespace tarvik::archive::sql {

class ExpressionBinder {
 public:
  // `sources` may grow while the FROM clause is bound; it must outlive the binder.
  explicit ExpressionBinder(const std::vector<PlanSource>& sources) : sources_(sources) {}

  // `e` bound over the sources in `scope`. `aggregates` is where COUNT may be collected; null
  // where aggregates are not allowed. `clause` names the clause for messages ("ON" also makes a
  // type mismatch the join's).
  Bound bind(const Expr& e, const std::vector<std::size_t>& scope, std::vector<AggregateSpec>* aggregates,
             const char* clause);
  // A reference to a column of a source.
  Bound column_ref(std::size_t source, std::size_t column, std::string text) const;
  // Throws a type mismatch unless `e` gives a truth value (a number or null): the join's when `join`.
  static void require_truth_value(const Bound& e, bool join);

  // The names met that no table has, lower-cased.
  const std::set<std::string>& unknown_names() const { return unknown_names_; }

 private:
  Bound resolve(const Expr& e, const std::vector<std::size_t>& scope);
  Bound unknown(const std::string& name, std::string text);
  Bound bind_function(const Expr& e, const std::vector<std::size_t>& scope, std::vector<AggregateSpec>* aggregates,
                      const char* clause);

  const std::vector<PlanSource>& sources_;
  std::set<std::string> unknown_names_;
};

}  // namespace tarvik::archive::sql
