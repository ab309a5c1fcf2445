// One value as its column stores it: the check that a value belongs in a column, the bytes of
// a fixed column, and the bytes of a variable one (encoded text, or the raw data of a memo or
// ole value before it is placed inline or on LVAL pages).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/value.h"
#include "column_layout.h"

namespace tarvik::archive_gen {

// Why `value` cannot go in `column`, or an empty string when it can. Null is checked elsewhere.
std::string value_problem(const ColumnLayout& column, const archive::Value& value);

// Writes a non-null value of a fixed column (not a boolean) at `out`.
void store_fixed(const ColumnLayout& column, const archive::Value& value, std::uint8_t* out);

// The stored bytes of a non-null value of a variable column, replacing `out`'s contents. A Jet4
// text is compressed when `may_compress` and compression saves room; a Jet3 text is in
// Windows-1252 (checked by value_problem).
void variable_bytes(const ColumnLayout& column, const archive::Value& value, bool may_compress,
                    std::vector<std::uint8_t>& out);

}  // namespace tarvik::archive_gen
