// The payment-condition mapping: a reference to a payment condition is written only when that
// condition was itself exported in the CondPag block, so the importer never meets a dangling one.
#pragma once

#include <optional>

#include "archive/value.h"
#include "exporters/export_context.h"

namespace tarvik::exporters {

// The value itself when the list holds it (compared by numeric value, whatever the widths),
// otherwise null; a null stays null.
archive::Value MapCondPag(const ConditionCodeList& codes, const archive::Value& value);

// The whole-number value of a numeric field, as the list keeps it; none for null, text, a
// fraction or anything else that cannot equal an id.
std::optional<std::int64_t> condition_code_of(const archive::Value& value);

}  // namespace tarvik::exporters
