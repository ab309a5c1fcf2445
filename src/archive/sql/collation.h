// Text comparison as Jet's General sort order does it. Each archive's text compares by the order
// its own engine keeps: Jet4's (Access 2000 on), here, or Access 97's (Jet3, collation_97.h).
// In Jet4's order letter case never matters; an accented letter sorts next to its base letter and
// only after it; blanks (tabs and line breaks among them), punctuation and symbols sort before
// digits, digits before letters; "æ", "ß" and "þ" weigh as "ae", "ss" and "th", a superscript
// digit as its digit; a hyphen (soft or not), an apostrophe or another control character does not
// move a text among its neighbours but still makes it different ("co-op" sorts right after "coop"
// and does not equal it). Joins, WHERE, GROUP BY, DISTINCT and ORDER BY all compare text this way.
#pragma once

#include <cstdint>
#include <string>

#include "archive/value.h"

namespace tarvik::archive::jet {
struct DatabaseHeader;
}

namespace tarvik::archive::sql {

enum class TextOrder : std::uint8_t {
  General,    // Jet4
  General97,  // Jet3
};

// The General order of the archive's own engine.
TextOrder text_order_of(const jet::DatabaseHeader& header);

// Negative, zero or positive as `a` sorts before, equal to or after `b`. In Jet4's order, zero
// exactly when the two texts differ at most in letter case.
int compare_text(const Text& a, const Text& b, TextOrder order);

// Appends to `key` bytes that are equal for two texts exactly when compare_text finds them
// equal, for hashing.
void append_text_key(std::string& key, const Text& text, TextOrder order);

}  // namespace tarvik::archive::sql
