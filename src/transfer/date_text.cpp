#include "transfer/date_text.h"

#include <cmath>
#include <cstdint>

#include "common/calendar.h"

namespace tarvik::transfer {

namespace {

// Day counts of 0001-01-01 and 9999-12-31 from 1899-12-30.
constexpr std::int64_t kFirstDay = -693593;
constexpr std::int64_t kLastDay = 2958465;
// Writes `value` in `width` digits, zeros first, from `at`.
void put_digits(char* at, std::int64_t value, int width) {
  for (int i = width - 1; i >= 0; --i, value /= 10) at[i] = static_cast<char>('0' + value % 10);
}

}  // namespace

bool append_date_text(std::string& out, archive::DateTime value) {
  if (!std::isfinite(value.days)) return false;
  const double whole = std::trunc(value.days);
  if (whole < static_cast<double>(kFirstDay) || whole > static_cast<double>(kLastDay)) return false;
  const CivilDate date = civil_date_of_jet_day(static_cast<std::int64_t>(whole));
  char text[10] = {0, 0, 0, 0, '-', 0, 0, '-', 0, 0};
  put_digits(text, date.year, 4);
  put_digits(text + 5, date.month, 2);
  put_digits(text + 8, date.day, 2);
  out.append(text, sizeof text);
  return true;
}

}  // namespace tarvik::transfer
