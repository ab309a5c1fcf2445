// Access 97's General sort order (Jet3), as its indexes keep it. It knows the characters of
// Windows code page 1252 only. Letter case never matters. Control characters all weigh alike and
// sort first, then blanks (space, tab, no-break space alike), then punctuation and symbols in the
// order of their codes (a hyphen and an apostrophe among them, dashes weighing as the hyphen and
// typographic quotes as the plain ones), then the digits (a superscript digit as its digit), then
// the letters, "ð" after "d", "þ" and "ø" after "z", "æ", "œ" and "ß" as "ae", "oe" and "ss". An
// accented letter weighs as its base letter; the accents decide only between texts whose letters
// are alike, the first accented letter deciding. Characters beyond the code page sort after all
// others, each by its code.
#pragma once

#include <string>

#include "archive/value.h"

namespace tarvik::archive::sql {

int compare_text_97(const Text& a, const Text& b);
void append_text_key_97(std::string& key, const Text& text);

}  // namespace tarvik::archive::sql
