#include "cli/canonical_json.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <system_error>
#include <type_traits>
#include <variant>

#include "common/calendar.h"
#include "common/utf8.h"

namespace tarvik::cli {
namespace {

constexpr char kHexLower[] = "0123456789abcdef";
constexpr char kHexUpper[] = "0123456789ABCDEF";

void append_u_escape(std::string& out, char32_t unit) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHexLower[(unit >> shift) & 0xF];
}

// One code point of a JSON string body; surrogates reach here only unpaired.
void append_json_char(std::string& out, char32_t c) {
  switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\b': out += "\\b"; return;
    case '\f': out += "\\f"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
  }
  if (c < 0x20 || is_surrogate(c)) {
    append_u_escape(out, c);
  } else {
    append_utf8(out, c);
  }
}

// Decodes one UTF-8 sequence at text[i]; advances i. Surrogates encoded in three bytes come back
// as themselves (so they print escaped); other ill-formed input comes back as U+FFFD.
char32_t next_utf8(std::string_view text, std::size_t& i) { return decode_utf8(text, i).value_or(0xFFFD); }

// ECMAScript's Number-to-String layout of a positive value 0.d1..dk x 10^n.
void append_ecmascript_layout(std::string& out, std::string_view digits, int n) {
  const int k = static_cast<int>(digits.size());
  if (k <= n && n <= 21) {
    out += digits;
    out.append(static_cast<std::size_t>(n - k), '0');
  } else if (0 < n && n <= 21) {
    out += digits.substr(0, static_cast<std::size_t>(n));
    out += '.';
    out += digits.substr(static_cast<std::size_t>(n));
  } else if (-6 < n && n <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-n), '0');
    out += digits;
  } else {
    out += digits[0];
    if (k > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += n - 1 >= 0 ? "e+" : "e-";
    out += std::to_string(std::abs(n - 1));
  }
}

// Shortest round-trip digits come from std::to_chars in scientific form ("1.5e-01"): the
// mantissa's digits are d1..dk and the exponent plus one is n.
template <typename Float>
void append_json_float(std::string& out, Float value) {
  if (std::isnan(value)) {
    out += "\"NaN\"";
    return;
  }
  if (std::isinf(value)) {
    out += value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    return;
  }
  if (value == 0) {
    out += std::signbit(value) ? "-0" : "0";
    return;
  }
  if (value < 0) {
    out += '-';
    value = -value;
  }
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e = text.find('e');
  std::string digits;
  for (char c : text.substr(0, e))
    if (c != '.') digits += c;
  int exponent = 0;
  std::string_view exponent_text = text.substr(e + 1);
  if (!exponent_text.empty() && exponent_text[0] == '+') exponent_text.remove_prefix(1);
  std::from_chars(exponent_text.data(), exponent_text.data() + exponent_text.size(), exponent);
  append_ecmascript_layout(out, digits, exponent + 1);
}

// Decimal digits of a magnitude, at least `min_digits` of them (leading zeros added).
std::string decimal_digits(unsigned __int128 magnitude, std::size_t min_digits) {
  std::string digits;
  do {
    digits += static_cast<char>('0' + static_cast<int>(magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (digits.size() < min_digits) digits.append(min_digits - digits.size(), '0');
  return std::string(digits.rbegin(), digits.rend());
}

void append_scaled_decimal(std::string& out, bool negative, unsigned __int128 magnitude,
                           std::size_t scale) {
  if (negative && magnitude != 0) out += '-';
  const std::string digits = decimal_digits(magnitude, scale + 1);
  const std::size_t point = digits.size() - scale;
  out.append(digits, 0, point);
  if (scale > 0) {
    out += '.';
    out.append(digits, point, std::string::npos);
  }
}

constexpr double kWidestDayCount = 1e7;  // far beyond year 9999 both ways, well inside int64

void append_padded(std::string& out, std::int64_t number, int width) {
  std::string text = std::to_string(number);
  const auto wanted = static_cast<std::size_t>(width);
  if (text.size() < wanted) out.append(wanted - text.size(), '0');
  out += text;
}

}  // namespace

// Writes straight into the string's storage: text dumps are mostly long runs of plain ASCII, and
// a character at a time through push_back dominated the time of a dump.
void append_json_string(std::string& out, std::u16string_view text) {
  const std::size_t start = out.size();
  out.resize(start + 2 + 6 * text.size());  // at worst every unit becomes \uXXXX
  char* p = out.data() + start;
  *p++ = '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = text[i];
    if (unit >= 0x20 && unit < 0x80 && unit != '"' && unit != '\\') {
      *p++ = static_cast<char>(unit);
      continue;
    }
    std::string piece;
    if (is_high_surrogate(unit) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
      const char32_t low = text[++i];
      append_utf8(piece, combine_surrogates(unit, low));
    } else {
      append_json_char(piece, unit);
    }
    for (char c : piece) *p++ = c;
  }
  *p++ = '"';
  out.resize(static_cast<std::size_t>(p - out.data()));
}

void append_json_string_utf8(std::string& out, std::string_view text) {
  out += '"';
  for (std::size_t i = 0; i < text.size();) append_json_char(out, next_utf8(text, i));
  out += '"';
}

void append_json_single(std::string& out, float value) { append_json_float(out, value); }
void append_json_double(std::string& out, double value) { append_json_float(out, value); }

void append_json_currency(std::string& out, archive::Currency value) {
  const bool negative = value.ten_thousandths < 0;
  // Negating in unsigned arithmetic keeps INT64_MIN exact.
  const std::uint64_t magnitude = negative
                                      ? 0 - static_cast<std::uint64_t>(value.ten_thousandths)
                                      : static_cast<std::uint64_t>(value.ten_thousandths);
  out += '"';
  append_scaled_decimal(out, negative, magnitude, 4);
  out += '"';
}

void append_json_datetime(std::string& out, archive::DateTime value) {
  const double days = value.days;
  if (!std::isfinite(days) || std::fabs(days) > kWidestDayCount) {
    append_json_double(out, days);
    return;
  }
  const JetDayAndSecond split = split_jet_day_count(days);
  const std::int64_t second_of_day = split.second;
  const CivilDate date = civil_date_of_jet_day(split.day);
  if (date.year < 1 || date.year > 9999) {
    append_json_double(out, days);
    return;
  }
  out += '"';
  append_padded(out, date.year, 4);
  out += '-';
  append_padded(out, date.month, 2);
  out += '-';
  append_padded(out, date.day, 2);
  out += ' ';
  append_padded(out, second_of_day / 3600, 2);
  out += ':';
  append_padded(out, second_of_day / 60 % 60, 2);
  out += ':';
  append_padded(out, second_of_day % 60, 2);
  out += '"';
}

void append_json_numeric(std::string& out, const archive::Numeric& value) {
  out += '"';
  append_scaled_decimal(out, value.negative, value.magnitude, value.scale);
  out += '"';
}

void append_json_guid(std::string& out, const archive::Guid& value) {
  static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  out += "\"{";
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
    const std::uint8_t b = value.bytes[kOrder[i]];
    out += kHexUpper[b >> 4];
    out += kHexUpper[b & 0xF];
  }
  out += "}\"";
}

void append_json_hex(std::string& out, const archive::Binary& value) {
  out += '"';
  for (std::uint8_t b : value) {
    out += kHexLower[b >> 4];
    out += kHexLower[b & 0xF];
  }
  out += '"';
}

void append_canonical_value(std::string& out, const archive::Value& value) {
  std::visit(
      [&out](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          out += "null";
        } else if constexpr (std::is_same_v<T, bool>) {
          out += v ? "true" : "false";
        } else if constexpr (std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int16_t> ||
                             std::is_same_v<T, std::int32_t>) {
          out += std::to_string(v);
        } else if constexpr (std::is_same_v<T, float>) {
          append_json_single(out, v);
        } else if constexpr (std::is_same_v<T, double>) {
          append_json_double(out, v);
        } else if constexpr (std::is_same_v<T, archive::Currency>) {
          append_json_currency(out, v);
        } else if constexpr (std::is_same_v<T, archive::DateTime>) {
          append_json_datetime(out, v);
        } else if constexpr (std::is_same_v<T, archive::Text>) {
          append_json_string(out, v);
        } else if constexpr (std::is_same_v<T, archive::Binary>) {
          append_json_hex(out, v);
        } else if constexpr (std::is_same_v<T, archive::Guid>) {
          append_json_guid(out, v);
        } else {
          static_assert(std::is_same_v<T, archive::Numeric>);
          append_json_numeric(out, v);
        }
      },
      value.storage());
}

}  // namespace tarvik::cli
