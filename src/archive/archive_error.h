// The one error type of the archive engine: a number and an Italian description, the way the
// Jet engine reports its errors to the program. Every error the engine can raise is made by one of
// the functions below, so the numbers and texts live in one place.
#pragma once

#include <string>
#include <string_view>

#include "common/numbered_error.h"

namespace tarvik::archive {

class ArchiveError : public NumberedError {
 public:
  using NumberedError::NumberedError;
};

namespace errors {

// 3024: the archive file does not exist.
ArchiveError file_not_found(std::string_view path);
// 3051: the file exists but cannot be opened (permissions, or held by another program).
ArchiveError cannot_open(std::string_view path);
// 3045: the archive is already open exclusively by another export.
ArchiveError in_use(std::string_view path);
// 3343: the file is not a Jet archive at all (wrong header, unknown version, unsupported encryption).
ArchiveError unrecognized_format(std::string_view path, std::string_view why);
// 3049: the file is a Jet archive but its structure is damaged; `where` says what broke, in Italian.
ArchiveError damaged(std::string_view where);
// 3078: no table or query with this name.
ArchiveError table_not_found(std::string_view name);
// 3265: no field with this name in the record set.
ArchiveError item_not_found(std::string_view name);
// 3061: the query names something the tables lack (Jet reads it as a parameter).
ArchiveError too_few_parameters(int expected);

// Record sets.
// 3021: a move or a field read with no current row (at end of set, or on an empty set).
ArchiveError no_current_record();
// 3420: the record set or the archive was closed.
ArchiveError object_closed();
// 3251: an operation that this kind of record set does not offer (a seek on a snapshot, moves in
// index order); `what` names it.
ArchiveError operation_not_supported(std::string_view what);
// 3015: the table has no index with this name.
ArchiveError index_not_found(std::string_view name);
// 3019: a seek before an index was chosen.
ArchiveError no_current_index();

// The SQL subset.
// 3129: the text is not a SELECT statement.
ArchiveError invalid_sql_statement();
// 3141: the SELECT statement is malformed; `near` quotes where reading stopped.
ArchiveError select_syntax(std::string_view near);
// 3131: the FROM clause is malformed.
ArchiveError from_syntax(std::string_view near);
// 3075: an expression is malformed; `expression` quotes it.
ArchiveError expression_syntax(std::string_view expression);
// 3093: ORDER BY on something that is not among the DISTINCT columns.
ArchiveError order_by_conflicts_with_distinct(std::string_view expression);
// 3251-style refusal for Jet SQL that lies outside the supported subset; `what` names the feature.
ArchiveError unsupported_sql(std::string_view what);
// 3079: an unqualified column name found in more than one table of the FROM clause.
ArchiveError ambiguous_field(std::string_view name);
// 3135: the same table name or alias twice in one FROM clause.
ArchiveError repeated_table_name(std::string_view name);
// 3296: a join condition other than equalities between the two sides.
ArchiveError join_expression_not_supported();
// 3122: a selected expression that is neither grouped nor aggregated.
ArchiveError not_part_of_aggregate(std::string_view expression);
// 3096: an aggregate function in WHERE, ON or GROUP BY.
ArchiveError aggregate_not_allowed(std::string_view clause);
// 3464: text compared with a number (or other incompatible types) in a criterion.
ArchiveError criteria_type_mismatch();
// 3615: the two sides of a join equality have incompatible types.
ArchiveError join_type_mismatch();
// 3360: the statement nests or chains its expressions or joins deeper than the engine allows.
ArchiveError query_too_complex();

}  // namespace errors
}  // namespace tarvik::archive
