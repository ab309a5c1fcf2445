#include "archive/sql/compare.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "archive/archive_error.h"
#include "archive/sql/collation.h"

namespace tarvik::archive::sql {

namespace {

// A whole number's key begins with this plus the count of its bytes (0x11 to 0x18): no letter that
// tags another kind's key ('d', 'g', 'n', 't') is among them.
constexpr char kWholeTag = 0x10;

// A number as exactly as the comparison needs it: a whole number when the value is one and fits,
// otherwise a double.
struct Number {
  bool whole = true;
  std::int64_t integer = 0;  // when whole
  double real = 0.0;         // when not whole
};

Number from_double(double d) {
  if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e18) {
    return {true, static_cast<std::int64_t>(d), 0.0};
  }
  return {false, 0, d};
}

double numeric_to_double(const Numeric& n) {
  double v = 0.0;
  const auto hi = static_cast<std::uint64_t>(n.magnitude >> 64);
  const auto lo = static_cast<std::uint64_t>(n.magnitude);
  v = static_cast<double>(hi) * 18446744073709551616.0 + static_cast<double>(lo);
  v /= std::pow(10.0, n.scale);
  return n.negative ? -v : v;
}

Number to_number(const Value& v) {
  switch (v.kind()) {
    case ValueKind::Boolean: return {true, v.as_boolean() ? -1 : 0, 0.0};
    case ValueKind::Byte: return {true, v.as_byte(), 0.0};
    case ValueKind::Integer: return {true, v.as_integer(), 0.0};
    case ValueKind::Long: return {true, v.as_long(), 0.0};
    case ValueKind::Single: return from_double(v.as_single());
    case ValueKind::Double: return from_double(v.as_double());
    case ValueKind::DateTime: return from_double(v.as_datetime().days);
    case ValueKind::Currency: {
      const std::int64_t t = v.as_currency().ten_thousandths;
      if (t % 10000 == 0) return {true, t / 10000, 0.0};
      return {false, 0, static_cast<double>(t) / 10000.0};
    }
    case ValueKind::Numeric: return from_double(numeric_to_double(v.as_numeric()));
    default: throw errors::criteria_type_mismatch();
  }
}

template <typename T>
int three_way(T a, T b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

int compare_numbers(const Value& a, const Value& b) {
  // Two currencies compare exactly in ten-thousandths.
  if (a.kind() == ValueKind::Currency && b.kind() == ValueKind::Currency) {
    return three_way(a.as_currency().ten_thousandths, b.as_currency().ten_thousandths);
  }
  const Number x = to_number(a);
  const Number y = to_number(b);
  if (x.whole && y.whole) return three_way(x.integer, y.integer);
  const double dx = x.whole ? static_cast<double>(x.integer) : x.real;
  const double dy = y.whole ? static_cast<double>(y.integer) : y.real;
  return three_way(dx, dy);
}

}  // namespace

Category category_of(ValueKind kind) {
  switch (kind) {
    case ValueKind::Null: return Category::Null;
    case ValueKind::Text: return Category::Text;
    case ValueKind::Guid: return Category::Guid;
    case ValueKind::Binary: return Category::Binary;
    default: return Category::Number;
  }
}

bool comparable(Category a, Category b) {
  if (a == Category::Null || b == Category::Null) return true;
  return a == b && a != Category::Binary;
}

int compare_values(const Value& a, const Value& b, TextOrder order) {
  const Category ca = category_of(a.kind());
  const Category cb = category_of(b.kind());
  if (ca != cb || ca == Category::Binary || ca == Category::Null) {
    throw errors::criteria_type_mismatch();
  }
  switch (ca) {
    case Category::Text: return compare_text(a.as_text(), b.as_text(), order);
    case Category::Guid: {
      const int c = std::memcmp(a.as_guid().bytes.data(), b.as_guid().bytes.data(), 16);
      return three_way(c, 0);
    }
    default: return compare_numbers(a, b);
  }
}

int compare_for_sort(const Value& a, const Value& b, TextOrder order) {
  if (a.is_null() || b.is_null()) return three_way(!a.is_null(), !b.is_null());
  return compare_values(a, b, order);
}

void append_key(std::string& key, const Value& value, TextOrder order) {
  switch (category_of(value.kind())) {
    case Category::Null: key.push_back('n'); return;
    case Category::Text:
      key.push_back('t');
      append_text_key(key, value.as_text(), order);
      return;
    case Category::Guid:
      key.push_back('g');
      key.append(reinterpret_cast<const char*>(value.as_guid().bytes.data()), 16);
      return;
    case Category::Binary: throw errors::criteria_type_mismatch();
    case Category::Number: break;
  }
  const Number n = to_number(value);
  if (n.whole) {
    append_whole_number_key(key, n.integer);
    return;
  }
  char bytes[9];  // the tag, then the number's bytes
  bytes[0] = 'd';
  std::memcpy(bytes + 1, &n.real, 8);
  key.append(bytes, 9);
}

void append_whole_number_key(std::string& key, std::int64_t number) {
  // Only the bytes the number needs, so that an id's key is short enough to sit in its hash slot:
  // the count of bytes is in the tag, and the bytes dropped are the sign's repeats.
  char bytes[9];  // the tag, then the number's bytes
  for (int b = 0; b < 8; ++b) bytes[1 + b] = static_cast<char>((number >> (8 * b)) & 0xFF);
  // The bits that are not the sign's repeats, and the sign bit: a byte for each eight.
  const auto significant = static_cast<std::uint64_t>(number ^ (number >> 63));
  const std::size_t used = static_cast<std::size_t>(std::bit_width(significant)) / 8 + 1;
  bytes[0] = static_cast<char>(kWholeTag + used);
  key.append(bytes, 1 + used);
}

std::optional<std::int64_t> whole_number_key_of(const Value& value) {
  switch (category_of(value.kind())) {
    case Category::Number: break;
    case Category::Binary: throw errors::criteria_type_mismatch();
    default: return std::nullopt;
  }
  const Number n = to_number(value);
  if (!n.whole) return std::nullopt;
  return n.integer;
}

std::optional<std::int64_t> whole_number_of_key(std::string_view key) {
  if (key.size() < 2) return std::nullopt;
  const std::size_t used = static_cast<unsigned char>(key[0]) - static_cast<unsigned char>(kWholeTag);
  if (used < 1 || used > 8 || key.size() != 1 + used) return std::nullopt;
  std::uint64_t bits = 0;
  for (std::size_t b = 0; b < used; ++b) bits |= std::uint64_t(static_cast<unsigned char>(key[1 + b])) << (8 * b);
  // The bytes dropped were the sign's repeats.
  const unsigned spare = 64 - 8 * static_cast<unsigned>(used);
  return spare == 0 ? static_cast<std::int64_t>(bits) : static_cast<std::int64_t>(bits << spare) >> spare;
}

}  // namespace tarvik::archive::sql
