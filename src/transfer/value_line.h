// The text of one value line, chosen by the value's kind: the encoding the importer expects for
// each field, since the file carries no type marks.
#pragma once

#include <string>

#include "archive/value.h"
#include "transfer/windows1252.h"

namespace tarvik::transfer {

// Appends the Windows-1252 bytes of the value line of `value`, without the line end:
// - null: nothing (an empty line);
// - Integer, Long, Single, Double, Currency: the number text form (number_text.h);
// - date: "yyyy-mm-dd" (date_text.h);
// - text: `CleanText` of the text, or with `raw` the text unchanged, line breaks included;
// - boolean: "T" or "F";
// - byte: the padded number form (" 7 "); Numeric: its padded form (" 1.5 ");
// - a Single, Double or date with no text of its kind (NaN, an infinity, a date outside the years
//   0001 to 9999): nothing, like null, so the lines that follow keep their places.
// Binary data and GUIDs have no line kind: they raise TransferError 13.
// For a text, what the conversion changed (nothing for other kinds), so that a caller counting
// changed values looks closer only at the texts that were changed.
TextOutcome append_value_line(std::string& out, const archive::Value& value, bool raw);

}  // namespace tarvik::transfer
