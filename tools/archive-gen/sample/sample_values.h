// Small makers of field values in the forms Jet stores: day counts for dates, ten-thousandths for
// money, UTF-16 for text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "archive/value.h"

namespace tarvik::archive_gen::sample {

// Days since 1899-12-30 of a civil date (proleptic Gregorian).
std::int32_t day_number(int year, int month, int day);

inline archive::Value date_value(int year, int month, int day) {
  return archive::Value::datetime({static_cast<double>(day_number(year, month, day))});
}
inline archive::Value date_time_value(std::int32_t day, int hour, int minute) {
  return archive::Value::datetime({day + (hour * 60 + minute) / 1440.0});
}
// A time of day alone, as Access stores it: on day 0.
inline archive::Value time_value(int hour, int minute) { return date_time_value(0, hour, minute); }

inline archive::Value money(std::int64_t cents) {
  return archive::Value::currency({cents * 100});
}

// The decimal digits of n, zero-padded to `width`.
std::u16string digits(std::int64_t n, int width = 0);

// UTF-16 from ASCII; the vocabularies hold their non-ASCII texts as u"" literals already.
std::u16string ascii(std::string_view text);

}  // namespace tarvik::archive_gen::sample
