// The canonical JSON text of archive values, as `dump` prints them: one form per value kind, chosen
// so that two readers of the same file print byte-identical lines. Every function appends to `out`
// and never fails: a value that has no calendar or numeric form gets a documented fallback.
#pragma once

#include <string>
#include <string_view>

#include "archive/value.h"

namespace tarvik::cli {

// A JSON string as JSON.stringify writes it: `\"` `\\` `\b` `\f` `\n` `\r` `\t`, the other
// controls as `\u00xx`, an unpaired surrogate as `\udxxx` (lower-case hex), everything else as
// raw UTF-8 (U+007F and U+2028 included).
void append_json_string(std::string& out, std::u16string_view text);

// The same for UTF-8 input (table and column names). A surrogate encoded in three bytes prints as
// its `\udxxx` escape; any other ill-formed byte sequence prints as U+FFFD.
void append_json_string_utf8(std::string& out, std::string_view text);

// The shortest decimal that reads back to the same float (resp. double), laid out the way
// ECMAScript's Number-to-String does: `0.15`, `1e+21`, `1e-7`, `5e-324`, `-0`. NaN and the
// infinities, which JSON has no number for, print as the strings "NaN", "Infinity", "-Infinity".
void append_json_single(std::string& out, float value);
void append_json_double(std::string& out, double value);

// Money: the exact decimal of the ten-thousandths with exactly four decimals, as a string
// ("12.5000", "-0.0100").
void append_json_currency(std::string& out, archive::Currency value);

// Date/Time: "YYYY-MM-DD HH:MM:SS". The day is the day count truncated toward zero; the time is
// the absolute fraction rounded to the nearest second, carrying into the next day. A day count
// that is not finite or falls outside the years 0001..9999 has no such form: it prints as the
// bare day count, a JSON number in the double form above.
void append_json_datetime(std::string& out, archive::DateTime value);

// Numeric: the exact decimal with exactly `scale` decimals (no point for scale 0), "-" only when
// the value is not zero ("-1110.554", "4").
void append_json_numeric(std::string& out, const archive::Numeric& value);

// GUID: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", the first three groups little-endian numbers.
void append_json_guid(std::string& out, const archive::Guid& value);

// Binary and OLE: lower-case hex without separators.
void append_json_hex(std::string& out, const archive::Binary& value);

// Any value in its kind's form; null prints as `null`, booleans as `true`/`false`, byte, integer
// and long as JSON integers.
void append_canonical_value(std::string& out, const archive::Value& value);

}  // namespace tarvik::cli
