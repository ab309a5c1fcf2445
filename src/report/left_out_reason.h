// The words of the lists of rows left out: a row's key as listed, and why its references found
// no row written ("cliente 12 inesistente", "testata 7 esclusa (...)", "Codice vuoto").
#pragma once

#include <span>
#include <string>

#include "archive/key_lookup.h"
#include "archive/recordset.h"
#include "report/kept_rows.h"
#include "report/left_out_rule.h"

namespace tarvik::report {

// A join of a rule with the keys its reference looks in: an index or a block's kept rows.
struct JoinTarget {
  const RuleJoin* join = nullptr;
  const archive::KeyLookup* index = nullptr;
  const KeptRows* kept = nullptr;
};

std::string ShownValue(const archive::Value& value, Shown shown);

// "idDocumento 77, numero 12/2024": the rule's key and listed columns of the current row.
std::string ListedKey(const LeftOutRule& rule, archive::Recordset& rows);

// Why the current row is left out, each join that found nothing in turn ("; " between), or
// empty when every join found a row written.
std::string WhyLeftOut(std::span<const JoinTarget> joins, archive::Recordset& rows);

}  // namespace tarvik::report
