// Jet's dates: a day count from 1899-12-30 whose whole part (toward zero) is the day and whose
// fraction's magnitude is the time of day, so -1.25 is 1899-12-29 at 06:00. The calendar is the
// proleptic Gregorian one.
#pragma once

#include <cstdint>

namespace tarvik {

struct CivilDate {
  std::int64_t year;
  unsigned month;  // 1 to 12
  unsigned day;    // 1 to 31
};

// The date of a day number counted from 1899-12-30 (H. Hinnant's civil_from_days).
CivilDate civil_date_of_jet_day(std::int64_t day);

// The day number from 1899-12-30 of a date (H. Hinnant's days_from_civil): the inverse.
std::int64_t jet_day_of_date(std::int64_t year, unsigned month, unsigned day);

struct JetDayAndSecond {
  std::int64_t day;     // from 1899-12-30
  std::int64_t second;  // of that day, 0 to 86399
};

// A finite day count of magnitude below 1e9 split into its day and its time of day rounded to the
// second; a time that rounds up to 24:00 is the next day's midnight.
JetDayAndSecond split_jet_day_count(double days);

}  // namespace tarvik
