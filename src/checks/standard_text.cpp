#include "checks/standard_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "common/utf8.h"
#include "common/calendar.h"
#include "transfer/number_text.h"
#include "transfer/transfer_error.h"

namespace tarvik::checks {

namespace {

archive::Text ascii(std::string_view text) { return archive::Text(text.begin(), text.end()); }

// Numbers as the platform's default conversion writes them: the transfer file's forms, but a
// negative fraction keeps its zero ("-0.5").
constexpr auto kListingForm = transfer::NegativeFraction::kZeroBeforePoint;

archive::Text integer_text(std::int64_t value) {
  std::string out;
  transfer::append_integer_text(out, value);
  return ascii(out);
}

archive::Text single_text(float value) {
  std::string out;
  if (!transfer::append_single_text(out, value, kListingForm)) throw transfer::errors::type_mismatch();
  return ascii(out);
}

archive::Text double_text(double value) {
  std::string out;
  if (!transfer::append_double_text(out, value, kListingForm)) throw transfer::errors::type_mismatch();
  return ascii(out);
}

archive::Text currency_text(archive::Currency value) {
  std::string out;
  transfer::append_currency_text(out, value, kListingForm);
  return ascii(out);
}

// A Jet day count: its whole part (toward zero) is the day from 1899-12-30, the absolute value of
// its fraction the time of day.
std::string date_text(archive::DateTime value) {
  constexpr double kDaysToYear10000 = 2958466.0;  // beyond 9999-12-31 (and before year 1)
  if (!std::isfinite(value.days) || std::fabs(value.days) >= kDaysToYear10000)
    throw transfer::errors::type_mismatch();
  const JetDayAndSecond split = split_jet_day_count(value.days);
  const std::int64_t seconds = split.second;
  const CivilDate date = civil_date_of_jet_day(split.day);
  if (date.year < 1 || date.year > 9999) throw transfer::errors::type_mismatch();
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02u/%02u/%04d", date.day, date.month, static_cast<int>(date.year));
  std::string text(buffer);
  if (seconds != 0) {
    std::snprintf(buffer, sizeof buffer, " %02d:%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    text += buffer;
  }
  return text;
}

}  // namespace

archive::Text StandardText(const archive::Value& value) {
  using archive::ValueKind;
  switch (value.kind()) {
    case ValueKind::Null: return {};
    case ValueKind::Text: return value.as_text();
    case ValueKind::Boolean: return ascii(value.as_boolean() ? "True" : "False");
    case ValueKind::Byte: return integer_text(value.as_byte());
    case ValueKind::Integer: return integer_text(value.as_integer());
    case ValueKind::Long: return integer_text(value.as_long());
    case ValueKind::Single: return single_text(value.as_single());
    case ValueKind::Double: return double_text(value.as_double());
    case ValueKind::Currency: return currency_text(value.as_currency());
    case ValueKind::DateTime: return ascii(date_text(value.as_datetime()));
    case ValueKind::Binary:
    case ValueKind::Guid:
    case ValueKind::Numeric:
      break;
  }
  throw transfer::errors::type_mismatch();
}

std::string Utf8(const archive::Text& text) { return tarvik::utf16_to_utf8(text); }

}  // namespace tarvik::checks
