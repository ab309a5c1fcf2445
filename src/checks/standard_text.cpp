#include "checks/standard_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "archive/utf8.h"
#include "transfer/transfer_error.h"

namespace tarvik::checks {

namespace {

constexpr int kSecondsPerDay = 86400;

archive::Text ascii(std::string_view text) { return archive::Text(text.begin(), text.end()); }

std::string integer_text(std::int64_t value) { return std::to_string(value); }

template <typename Floating>
std::string general_text(Floating value, int digits) {
  if (!std::isfinite(value)) throw transfer::errors::type_mismatch();
  if (value == 0) return "0";
  char buffer[64];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits).ptr;
  for (char* p = buffer; p != end; ++p)
    if (*p == 'e') *p = 'E';
  return std::string(buffer, end);
}

std::string currency_text(archive::Currency value) {
  std::int64_t units = value.ten_thousandths;
  std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  std::string text = (units < 0 ? "-" : "") + std::to_string(magnitude / 10000);
  std::uint64_t fraction = magnitude % 10000;
  if (fraction == 0) return text;
  char digits[8];
  std::snprintf(digits, sizeof digits, ".%04u", static_cast<unsigned>(fraction));
  std::string tail(digits);
  while (tail.back() == '0') tail.pop_back();
  return text + tail;
}

// Year, month and day of a count of days since 1970-01-01 on the proleptic Gregorian calendar.
void civil_from_days(std::int64_t z, std::int64_t& year, unsigned& month, unsigned& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = doy - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
}

// A Jet day count: its whole part (toward zero) is the day from 1899-12-30, the absolute value of
// its fraction the time of day.
std::string date_text(archive::DateTime value) {
  constexpr double kDaysToYear10000 = 2958466.0;  // beyond 9999-12-31 (and before year 1)
  if (!std::isfinite(value.days) || std::fabs(value.days) >= kDaysToYear10000)
    throw transfer::errors::type_mismatch();
  double whole = std::trunc(value.days);
  std::int64_t day = static_cast<std::int64_t>(whole);
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(value.days - whole) * kSecondsPerDay));
  if (seconds == kSecondsPerDay) {  // rounds up to the next midnight
    ++day;
    seconds = 0;
  }
  std::int64_t year = 0;
  unsigned month = 0, dom = 0;
  civil_from_days(day - 25569, year, month, dom);  // 1899-12-30 is 25569 days before 1970-01-01
  if (year < 1 || year > 9999) throw transfer::errors::type_mismatch();
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02u/%02u/%04d", dom, month, static_cast<int>(year));
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
    case ValueKind::Byte: return ascii(integer_text(value.as_byte()));
    case ValueKind::Integer: return ascii(integer_text(value.as_integer()));
    case ValueKind::Long: return ascii(integer_text(value.as_long()));
    case ValueKind::Single: return ascii(general_text(value.as_single(), 7));
    case ValueKind::Double: return ascii(general_text(value.as_double(), 15));
    case ValueKind::Currency: return ascii(currency_text(value.as_currency()));
    case ValueKind::DateTime: return ascii(date_text(value.as_datetime()));
    case ValueKind::Binary:
    case ValueKind::Guid:
    case ValueKind::Numeric:
      break;
  }
  throw transfer::errors::type_mismatch();
}

std::string Utf8(const archive::Text& text) { return archive::utf16_to_utf8(text); }

}  // namespace tarvik::checks
