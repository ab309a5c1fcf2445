// The number texts of the transfer file. Two forms:
// - the number text form of value lines: "-" only for a negative number, "." as the decimal point
//   whatever the locale, no grouping, no trailing zeros in a fraction, and a "0" before the point
//   only when the text would begin with it ("0.5", but "-.5", which the importer reads as it is);
// - the padded number form of record counts and Byte values: a sign place (blank or "-"), the
//   digits, one trailing blank (" 0 ", "-5 ").
// Every function appends to `out`.
#pragma once

#include <cstdint>
#include <string>

#include "archive/value.h"

namespace tarvik::transfer {

// How a negative number of magnitude below 1 begins. The transfer file's number text form writes
// "-.5", which the importer reads as it is; the platform's default conversion of a number to text,
// which the checks' listings use, writes "-0.5". A positive fraction is "0.5" in both.
enum class NegativeFraction { kBarePoint, kZeroBeforePoint };

// Integer and Long: the plain decimal digits.
void append_integer_text(std::string& out, std::int64_t value);

// Double to 15 and Single to 7 significant digits, the last one rounded; exponent form
// ("1.5E+20", "1E-05") where C's %G chooses it, that is for a decimal exponent below -4 or at least
// the number of digits. Negative zero is "0". NaN and the infinities have no number text: the
// functions then append nothing and return false.
bool append_double_text(std::string& out, double value,
                        NegativeFraction form = NegativeFraction::kBarePoint);
bool append_single_text(std::string& out, float value,
                        NegativeFraction form = NegativeFraction::kBarePoint);

// Currency: the exact decimal of the ten-thousandths, up to 4 decimals, never through a double.
void append_currency_text(std::string& out, archive::Currency value,
                          NegativeFraction form = NegativeFraction::kBarePoint);

// The padded number form of a whole number.
void append_padded_number(std::string& out, std::int64_t value);

// A Numeric (decimal) value in the padded form, the way the general print writes any number it
// has no line kind for: sign place, the exact decimal without trailing zeros and without a zero
// before the point (" .5 ", "-1.25 "), one trailing blank.
void append_padded_numeric(std::string& out, const archive::Numeric& value);

}  // namespace tarvik::transfer
