// What the finder asks of the archive beyond plain queries, all in this one place: the joins'
// indexes, whether a key is unique, and the rows a block's query noted, read again by pointer.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "archive/database.h"
#include "archive/key_lookup.h"
#include "report/left_out_rule.h"

namespace tarvik::report {

// The index the export's join on `join` built, or builds it.
archive::KeyLookup JoinIndex(archive::Database& archive, const RuleJoin& join);

bool KeyIsUnique(archive::Database& archive, std::string_view table, std::string_view column);

// The rule's columns of its table's rows (those of `condition` only): "SELECT key, ... FROM table".
std::string RuleQuery(const LeftOutRule& rule);

// The rows of `sql`, or with `only` just the rows it names.
std::unique_ptr<archive::Recordset> OpenRuleRows(archive::Database& archive, const std::string& sql,
                                                 const archive::UnmatchedRows* only);

}  // namespace tarvik::report
