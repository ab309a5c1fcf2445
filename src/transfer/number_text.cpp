#include "transfer/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace tarvik::transfer {

namespace {

std::uint64_t magnitude_of(std::int64_t value) {
  // Unsigned negation, so that INT64_MIN has a magnitude too.
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

void append_unsigned(std::string& out, std::uint64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

// The general text with `digits` significant digits, adjusted to the number text form. to_chars
// does not depend on the locale, so the point stays "." even where the program runs in Italian.
template <typename Floating>
bool append_general(std::string& out, Floating value, int digits, NegativeFraction form) {
  if (!std::isfinite(value)) return false;
  if (value == 0) {  // negative zero included: it is not a negative number
    out += '0';
    return true;
  }
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  std::replace(buffer, result.ptr, 'e', 'E');
  // A negative fraction keeps its "-." start; a positive one keeps the "0." that to_chars wrote.
  if (form == NegativeFraction::kBarePoint && text.starts_with("-0.")) {
    out += '-';
    text.remove_prefix(2);
  }
  out += text;
  return true;
}

// A number that is a decimal of at most four places and of fewer digits than `limit` has (a price,
// a quantity, a whole number): written straight from its digits. It is the text the general form
// gives with the significant digits `limit` allows, as the number lies within half its last bit of
// that decimal, less than half a unit of the decimal's last digit.
template <typename Floating>
bool append_short_decimal(std::string& out, Floating value, double limit, NegativeFraction form) {
  double scale = 1;
  for (int places = 0; places <= 4; ++places, scale *= 10) {
    const double digits = std::nearbyint(double(value) * scale);  // a candidate only
    if (std::fabs(digits) >= limit) return false;
    // The decision: the number nearest the decimal, divided in the number's own precision, is it.
    if (Floating(digits) / Floating(scale) != value) continue;
    std::uint64_t magnitude = static_cast<std::uint64_t>(std::fabs(digits));
    int kept = places;
    while (kept > 0 && magnitude % 10 == 0) {
      magnitude /= 10;
      --kept;
    }
    std::uint64_t unit = 1;
    for (int i = 0; i < kept; ++i) unit *= 10;
    const std::uint64_t whole = magnitude / unit;
    if (value < 0) out += '-';
    // As for the general form: no zero before the point of a negative fraction, unless asked for.
    if (whole != 0 || kept == 0 || value > 0 || form == NegativeFraction::kZeroBeforePoint)
      append_unsigned(out, whole);
    if (kept == 0) return true;
    out += '.';
    char fraction[4];
    std::uint64_t rest = magnitude % unit;
    for (int i = kept - 1; i >= 0; --i, rest /= 10) fraction[i] = static_cast<char>('0' + rest % 10);
    out.append(fraction, static_cast<std::size_t>(kept));
    return true;
  }
  return false;
}

}  // namespace

void append_integer_text(std::string& out, std::int64_t value) {
  if (value < 0) out += '-';
  append_unsigned(out, magnitude_of(value));
}

bool append_double_text(std::string& out, double value, NegativeFraction form) {
  if (std::isfinite(value) && value != 0 && append_short_decimal(out, value, 1e15, form)) return true;
  return append_general(out, value, 15, form);
}

bool append_single_text(std::string& out, float value, NegativeFraction form) {
  if (std::isfinite(value) && value != 0 && append_short_decimal(out, value, 1e7, form)) return true;
  return append_general(out, value, 7, form);
}

void append_currency_text(std::string& out, archive::Currency value, NegativeFraction form) {
  const bool negative = value.ten_thousandths < 0;
  const std::uint64_t magnitude = magnitude_of(value.ten_thousandths);
  const std::uint64_t whole = magnitude / 10000;
  std::uint64_t fraction = magnitude % 10000;
  if (negative) out += '-';
  // The zero before the point is written only for a positive fraction ("0.5"), not after "-".
  if (whole != 0 || fraction == 0 || !negative || form == NegativeFraction::kZeroBeforePoint)
    append_unsigned(out, whole);
  if (fraction == 0) return;
  int places = 4;
  while (fraction % 10 == 0) {
    fraction /= 10;
    --places;
  }
  out += '.';
  char digits[4];
  for (int i = places - 1; i >= 0; --i, fraction /= 10) digits[i] = static_cast<char>('0' + fraction % 10);
  out.append(digits, static_cast<std::size_t>(places));
}

void append_padded_number(std::string& out, std::int64_t value) {
  out += value < 0 ? '-' : ' ';
  append_unsigned(out, magnitude_of(value));
  out += ' ';
}

void append_padded_numeric(std::string& out, const archive::Numeric& value) {
  std::string digits;  // least significant first
  for (unsigned __int128 rest = value.magnitude; rest != 0; rest /= 10)
    digits.push_back(static_cast<char>('0' + static_cast<int>(rest % 10)));
  // Trailing zeros of the fraction go; a whole number keeps its own zeros.
  std::size_t scale = value.scale;
  std::size_t first = 0;
  while (first < scale && first < digits.size() && digits[first] == '0') ++first;
  if (first == digits.size()) {  // zero, whatever its sign and scale
    out += " 0 ";
    return;
  }
  scale -= first;
  digits.erase(0, first);
  if (digits.size() < scale) digits.append(scale - digits.size(), '0');
  out += value.negative ? '-' : ' ';
  // Whole part (empty for a bare fraction: no zero before the point), then the fraction.
  for (std::size_t i = digits.size(); i > scale; --i) out += digits[i - 1];
  if (scale != 0) {
    out += '.';
    for (std::size_t i = scale; i > 0; --i) out += digits[i - 1];
  }
  out += ' ';
}

}  // namespace tarvik::transfer
