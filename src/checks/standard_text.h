// The text a field value turns into when it is joined to a text, as the check listings and the
// department question read it. Archive values arrive typed; the user reads them as text.
#pragma once

#include <string>

#include "archive/value.h"

namespace tarvik::checks {

// - null: the empty text;
// - text: the text itself;
// - Byte, Integer, Long: the decimal digits, "-" before a negative number, no blank before it;
// - Single, Double, Currency: the number text of the transfer file ("." as the decimal point), but
//   a negative fraction keeps the zero before its point ("-0.5", where the transfer file has "-.5");
// - date: "dd/mm/yyyy", followed by a blank and "hh:mm:ss" (24-hour, rounded to the second) only
//   when the time of day is not midnight;
// - boolean: "True" or "False".
// Binary data, GUIDs and dates outside the years 1 to 9999 have no text: TransferError 13.
archive::Text StandardText(const archive::Value& value);

// The UTF-8 form of a text, for the window; an unpaired surrogate becomes U+FFFD.
std::string Utf8(const archive::Text& text);

}  // namespace tarvik::checks
