// Text comparison as Jet's General sort order does it: letter case never matters; an accented
// letter sorts next to its base letter and only after it; punctuation and symbols sort before
// digits, digits before letters; a hyphen, an apostrophe or a control character does not move a
// text among its neighbours but still makes it different ("co-op" sorts right after "coop" and
// does not equal it). Joins, WHERE, GROUP BY, DISTINCT and ORDER BY all compare text this way.
#pragma once

#include <string>

#include "archive/value.h"

namespace tarvik::archive::sql {

// Negative, zero or positive as `a` sorts before, equal to or after `b`. Zero exactly when the
// two texts differ at most in letter case.
int compare_text(const Text& a, const Text& b);

// Appends to `key` bytes that are equal for two texts exactly when compare_text finds them
// equal, for hashing.
void append_text_key(std::string& key, const Text& text);

}  // namespace tarvik::archive::sql
