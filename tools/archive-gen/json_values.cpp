#include "json_values.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <stdexcept>

#include "currency_text.h"
#include "datetime_text.h"
#include "utf8.h"

namespace tarvik::archive_gen {

using archive::Value;
using archive::FieldType;
using nlohmann::json;

namespace {

std::runtime_error unfit(const std::string& why) { return std::runtime_error(why); }

std::int64_t integer_in(const json& v, std::int64_t low, std::int64_t high) {
  if (!v.is_number_integer()) throw unfit("expected a whole number, found " + v.dump());
  if (v.is_number_unsigned() && v.get<std::uint64_t>() > static_cast<std::uint64_t>(high))
    throw unfit(v.dump() + " is outside " + std::to_string(low) + ".." + std::to_string(high));
  const std::int64_t n = v.get<std::int64_t>();
  if (n < low || n > high)
    throw unfit(v.dump() + " is outside " + std::to_string(low) + ".." + std::to_string(high));
  return n;
}

double number(const json& v) {
  if (!v.is_number()) throw unfit("expected a number, found " + v.dump());
  return v.get<double>();
}

const std::string& text(const json& v, const char* what) {
  if (!v.is_string()) throw unfit(std::string("expected ") + what + ", found " + v.dump());
  return v.get_ref<const std::string&>();
}

int hex_digit(char c, bool lowercase_only) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (!lowercase_only && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

archive::Binary ole_bytes(const std::string& hex) {
  if (hex.size() % 2 != 0) throw unfit("an ole value has an even number of hex digits");
  archive::Binary out(hex.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const int hi = hex_digit(hex[2 * i], true), lo = hex_digit(hex[2 * i + 1], true);
    if (hi < 0 || lo < 0) throw unfit("an ole value is written in lowercase hex digits");
    out[i] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  return out;
}

archive::Guid guid_bytes(const std::string& s) {
  static constexpr std::string_view kShape = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  auto bad = [] { return unfit("a guid is written {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"); };
  if (s.size() != kShape.size()) throw bad();
  std::uint8_t digits[16];
  std::size_t n = 0;
  int pending = -1;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (kShape[i] != 'X') {
      if (s[i] != kShape[i]) throw bad();
      continue;
    }
    const int d = hex_digit(s[i], false);
    if (d < 0) throw bad();
    if (pending < 0) {
      pending = d;
    } else {
      digits[n++] = static_cast<std::uint8_t>(pending * 16 + d);
      pending = -1;
    }
  }
  // The first three groups are stored as little-endian numbers.
  archive::Guid g;
  static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int i = 0; i < 16; ++i) g.bytes[i] = digits[kOrder[i]];
  return g;
}

}  // namespace

std::optional<FieldType> column_type_named(std::string_view name) {
  // The writer writes these of the types Jet names.
  static constexpr FieldType kWritable[] = {
      FieldType::Boolean, FieldType::Byte,     FieldType::Integer,  FieldType::Long,
      FieldType::Single,  FieldType::Double,   FieldType::Currency, FieldType::DateTime,
      FieldType::Text,    FieldType::Memo,     FieldType::Ole,      FieldType::Guid,
  };
  const std::optional<FieldType> type = archive::jet::column_type_named(name);
  if (type && std::find(std::begin(kWritable), std::end(kWritable), *type) != std::end(kWritable))
    return type;
  return std::nullopt;
}

Value value_from_json(FieldType type, const json& v) {
  if (v.is_null()) return Value();
  switch (type) {
    case FieldType::Boolean:
      if (!v.is_boolean()) throw unfit("expected true or false, found " + v.dump());
      return Value::boolean(v.get<bool>());
    case FieldType::Byte: return Value::byte(static_cast<std::uint8_t>(integer_in(v, 0, 255)));
    case FieldType::Integer:
      return Value::integer(static_cast<std::int16_t>(integer_in(v, -32768, 32767)));
    case FieldType::Long:
      return Value::long_(static_cast<std::int32_t>(integer_in(
          v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max())));
    case FieldType::Single: {
      // Compared after rounding to single precision: the shortest form of the largest single
      // (3.4028235e+38) is a little above it as a double, yet rounds to it. Only what rounds to
      // infinity is too large: from the largest single plus half its last step (a tie that
      // rounds to the even infinity).
      const double d = number(v);
      constexpr float kLargest = std::numeric_limits<float>::max();
      const double first_infinite = double(kLargest) + std::ldexp(1.0, 103);
      if (std::fabs(d) >= first_infinite) throw unfit(v.dump() + " is too large for a single");
      // Between the largest single and that point the conversion itself would leave the range.
      if (std::fabs(d) > kLargest) return Value::single(d < 0 ? -kLargest : kLargest);
      return Value::single(static_cast<float>(d));
    }
    case FieldType::Double: return Value::double_(number(v));
    case FieldType::Currency: {
      std::optional<std::int64_t> units;
      if (v.is_string()) {
        units = parse_currency_text(v.get_ref<const std::string&>());
      } else if (v.is_number_integer()) {
        const double whole = v.get<double>();
        if (std::fabs(whole) < 9.2e14) units = v.get<std::int64_t>() * 10000;
      } else if (v.is_number()) {
        units = currency_from_double(v.get<double>());
      } else {
        throw unfit("expected an amount, found " + v.dump());
      }
      if (!units)
        throw unfit(v.dump() + " is not an amount with up to 4 decimals that a currency holds");
      return Value::currency(archive::Currency{*units});
    }
    case FieldType::DateTime: {
      const auto d = parse_datetime_text(text(v, "a date"));
      if (!d)
        throw unfit(v.dump() + " is not a date YYYY-MM-DD, YYYY-MM-DD HH:MM:SS or HH:MM:SS");
      return Value::datetime(*d);
    }
    case FieldType::Text:
    case FieldType::Memo: return Value::text(utf8_to_utf16(text(v, "a string")));
    case FieldType::Ole: return Value::binary(ole_bytes(text(v, "a hex string")));
    case FieldType::Guid: return Value::guid(guid_bytes(text(v, "a guid string")));
    default: throw unfit("type not supported");
  }
}

}  // namespace tarvik::archive_gen
