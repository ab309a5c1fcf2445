// How Jet compares two field values: numbers of every width by value (a Yes/No counts as -1 or 0,
// a date as its day count), text by the archive's General sort order (collation.h), GUIDs byte by
// byte.
// Text against a number is a type mismatch; a null is never equal, smaller or greater than
// anything, and is handled by the callers (nulls first in a sort, no match in a join).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "archive/sql/collation.h"
#include "archive/value.h"

namespace tarvik::archive::sql {

// What can be compared with what.
enum class Category { Null, Number, Text, Guid, Binary };

Category category_of(ValueKind kind);

// True when values of the two categories can be compared (a null or an unknown on either side
// always can).
bool comparable(Category a, Category b);

// Negative, zero or positive for two non-null values of comparable categories. Throws ArchiveError
// 3464 for values that cannot be compared.
int compare_values(const Value& a, const Value& b, TextOrder order);

// The order of a sort: nulls first, then compare_values.
int compare_for_sort(const Value& a, const Value& b, TextOrder order);

// Appends to `key` bytes that are equal for two values exactly when compare_values finds them
// equal (a null has its own key, equal only to another null), for hash joins, seeks, GROUP BY
// and DISTINCT. Throws 3464 for a value that cannot be compared (long binary).
void append_key(std::string& key, const Value& value, TextOrder order);
// The number a key made by one append_key of a whole number stands for; none for any other key
// (text, a fraction, a null, several values).
std::optional<std::int64_t> whole_number_of_key(std::string_view key);
// The whole number whose key append_key makes of `value` (whole_number_of_key of that key), without
// making it; none when its key is another kind's. Throws as append_key does.
std::optional<std::int64_t> whole_number_key_of(const Value& value);
// The key append_key makes of a value that is the whole number `number`.
void append_whole_number_key(std::string& key, std::int64_t number);

}  // namespace tarvik::archive::sql
