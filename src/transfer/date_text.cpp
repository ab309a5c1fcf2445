#include "transfer/date_text.h"

#include <cmath>
#include <cstdint>

#include "common/calendar.h"

namespace tarvik::transfer {

namespace {

// Day counts of 0001-01-01 and 9999-12-31 from 1899-12-30.
constexpr std::int64_t kFirstDay = -693593;
constexpr std::int64_t kLastDay = 2958465;
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
  const CivilDate date = civil_date_of_jet_day(static_cast<std::int64_t>(whole));
  append_digits(out, date.year, 4);
  out += '-';
  append_digits(out, date.month, 2);
  out += '-';
  append_digits(out, date.day, 2);
  return true;
}

}  // namespace tarvik::transfer
