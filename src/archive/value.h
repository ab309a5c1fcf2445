// A field value as the archive engine hands it out: typed exactly as the column stores it, never
// passed through text. Text is kept as UTF-16 code units, the form Jet4 stores, so nothing is lost
// between the page and the transfer file's writer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tarvik::archive {

// Money as Jet stores it: a signed 64-bit count of ten-thousandths.
struct Currency {
  std::int64_t ten_thousandths = 0;
  friend bool operator==(const Currency&, const Currency&) = default;
};

// Date/Time as Jet stores it: days since 1899-12-30. The integer part (truncated toward zero) is
// the day, the absolute value of the fraction the time of day, whatever the sign.
struct DateTime {
  double days = 0.0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// A GUID in stored byte order (the first three groups are little-endian numbers).
struct Guid {
  std::array<std::uint8_t, 16> bytes{};
  friend bool operator==(const Guid&, const Guid&) = default;
};

// Jet4 Decimal: a sign and a 128-bit magnitude scaled by 10^-scale.
struct Numeric {
  bool negative = false;
  unsigned __int128 magnitude = 0;
  std::uint8_t precision = 18;
  std::uint8_t scale = 0;
  friend bool operator==(const Numeric&, const Numeric&) = default;
};

using Text = std::u16string;
using Binary = std::vector<std::uint8_t>;

// The order of the kinds is the order of the alternatives in Value's variant.
enum class ValueKind : std::uint8_t {
  Null,
  Boolean,
  Byte,
  Integer,  // 16-bit
  Long,     // 32-bit
  Single,
  Double,
  Currency,
  DateTime,
  Text,
  Binary,
  Guid,
  Numeric,
};

class Value {
 public:
  using Storage = std::variant<std::monostate, bool, std::uint8_t, std::int16_t, std::int32_t, float,
                               double, Currency, DateTime, Text, Binary, Guid, Numeric>;

  Value() = default;  // null

  static Value boolean(bool v) { return Value(Storage(std::in_place_index<1>, v)); }
  static Value byte(std::uint8_t v) { return Value(Storage(std::in_place_index<2>, v)); }
  static Value integer(std::int16_t v) { return Value(Storage(std::in_place_index<3>, v)); }
  static Value long_(std::int32_t v) { return Value(Storage(std::in_place_index<4>, v)); }
  static Value single(float v) { return Value(Storage(std::in_place_index<5>, v)); }
  static Value double_(double v) { return Value(Storage(std::in_place_index<6>, v)); }
  static Value currency(Currency v) { return Value(Storage(std::in_place_index<7>, v)); }
  static Value datetime(DateTime v) { return Value(Storage(std::in_place_index<8>, v)); }
  static Value text(Text v) { return Value(Storage(std::in_place_index<9>, std::move(v))); }
  static Value binary(Binary v) { return Value(Storage(std::in_place_index<10>, std::move(v))); }
  static Value guid(Guid v) { return Value(Storage(std::in_place_index<11>, v)); }
  static Value numeric(Numeric v) { return Value(Storage(std::in_place_index<12>, v)); }

  ValueKind kind() const { return static_cast<ValueKind>(storage_.index()); }
  bool is_null() const { return storage_.index() == 0; }

  bool as_boolean() const { return std::get<1>(storage_); }
  std::uint8_t as_byte() const { return std::get<2>(storage_); }
  std::int16_t as_integer() const { return std::get<3>(storage_); }
  std::int32_t as_long() const { return std::get<4>(storage_); }
  float as_single() const { return std::get<5>(storage_); }
  double as_double() const { return std::get<6>(storage_); }
  Currency as_currency() const { return std::get<7>(storage_); }
  DateTime as_datetime() const { return std::get<8>(storage_); }
  const Text& as_text() const { return std::get<9>(storage_); }
  const Binary& as_binary() const { return std::get<10>(storage_); }
  const Guid& as_guid() const { return std::get<11>(storage_); }
  const Numeric& as_numeric() const { return std::get<12>(storage_); }

  // Makes the value hold `v` in place, of the kind its type stands for (bool, std::uint8_t,
  // std::int16_t, std::int32_t, float, double, Currency, DateTime): for rows decoded again and
  // again, cheaper than assigning a new value.
  template <typename T>
  void set(T v) {
    storage_.template emplace<T>(v);
  }
  void set_null() { storage_.template emplace<0>(); }

  // Makes the value a text and hands out its storage, for the caller to replace whole: a value that
  // already held a text keeps it, so a reused row decodes text without allocating, and a resize
  // to the new length fills only what it adds.
  Text& text_to_replace() {
    if (storage_.index() != 9) storage_.emplace<9>();
    return std::get<9>(storage_);
  }

  const Storage& storage() const { return storage_; }
  friend bool operator==(const Value&, const Value&) = default;

 private:
  explicit Value(Storage s) : storage_(std::move(s)) {}
  Storage storage_;
};

}  // namespace tarvik::archive
