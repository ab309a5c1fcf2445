#include "transfer/date_text.h"

#include <cmath>
#include <cstdint>

namespace tarvik::transfer {

namespace {

// Day counts of 0001-01-01 and 9999-12-31 from 1899-12-30.
constexpr std::int64_t kFirstDay = -693593;
constexpr std::int64_t kLastDay = 2958465;
// Days from 0000-03-01 to 1899-12-30 on the proleptic Gregorian calendar.
constexpr std::int64_t kEpochFromMarchZero = 693899;

struct CivilDate {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

// The calendar date of a day count from 0000-03-01 (H. Hinnant's civil_from_days, for days >= 0).
CivilDate civil_from_march_zero(std::int64_t days) {
  const std::int64_t era = days / 146097;
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t month_from_march = (5 * day_of_year + 2) / 153;
  const auto day = static_cast<unsigned>(day_of_year - (153 * month_from_march + 2) / 5 + 1);
  const auto month = static_cast<unsigned>(month_from_march < 10 ? month_from_march + 3 : month_from_march - 9);
  return {year_of_era + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

void append_digits(std::string& out, std::int64_t value, int width) {
  char digits[4];
  for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<char>('0' + value % 10);
  out.append(digits, static_cast<std::size_t>(width));
}

}  // namespace

bool append_date_text(std::string& out, archive::DateTime value) {
  if (!std::isfinite(value.days)) return false;
  const double whole = std::trunc(value.days);
  if (whole < static_cast<double>(kFirstDay) || whole > static_cast<double>(kLastDay)) return false;
  const CivilDate date = civil_from_march_zero(static_cast<std::int64_t>(whole) + kEpochFromMarchZero);
  append_digits(out, date.year, 4);
  out += '-';
  append_digits(out, date.month, 2);
  out += '-';
  append_digits(out, date.day, 2);
  return true;
}

}  // namespace tarvik::transfer
