#include "report/join_keys.h"

#include <cmath>
#include <optional>

#include "archive/sql/compare.h"

namespace tarvik::report {

std::string JoinKey(const archive::Value& value, archive::sql::TextOrder order) {
  std::string key;
  archive::sql::append_key(key, value, order);
  return key;
}

namespace {

// A number's value when it is whole and within 2^53 (so every kind holds it exactly): numbers of
// every width compare by value, a Yes/No as -1 or 0, a date as its day count.
std::optional<std::int64_t> whole_number(const archive::Value& value) {
  using archive::ValueKind;
  auto exact = [](double d) -> std::optional<std::int64_t> {
    if (!std::isfinite(d) || std::trunc(d) != d || std::fabs(d) > 9007199254740992.0) return std::nullopt;
    return static_cast<std::int64_t>(d);
  };
  switch (value.kind()) {
    case ValueKind::Byte: return value.as_byte();
    case ValueKind::Integer: return value.as_integer();
    case ValueKind::Long: return value.as_long();
    case ValueKind::Boolean: return value.as_boolean() ? -1 : 0;
    case ValueKind::Single: return exact(value.as_single());
    case ValueKind::Double: return exact(value.as_double());
    case ValueKind::DateTime: return exact(value.as_datetime().days);
    case ValueKind::Currency: {
      const std::int64_t units = value.as_currency().ten_thousandths;
      if (units % 10000 != 0) return std::nullopt;
      return units / 10000;
    }
    default: return std::nullopt;
  }
}

}  // namespace

std::string_view JoinKeys::key_of(const archive::Value& value) const {
  key_.clear();
  archive::sql::append_key(key_, value, order_);
  return key_;
}

void JoinKeys::add(const archive::Value& value) {
  if (value.is_null()) return;
  if (const auto whole = whole_number(value)) {
    whole_numbers_.insert(*whole);
  } else {
    bool added = false;
    other_keys_.number(key_of(value), added);
  }
}

bool JoinKeys::finds(const archive::Value& reference) const {
  using archive::sql::KeyNumbers;
  if (reference.is_null()) return false;
  if (const auto whole = whole_number(reference)) return whole_numbers_.contains(*whole);
  return other_keys_.size() > 0 && other_keys_.find(key_of(reference)) != KeyNumbers::kNone;
}

}  // namespace tarvik::report
