#include "common/calendar.h"

#include <cmath>

namespace tarvik {

namespace {
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kDaysFromMarchZeroToJetEpoch = 693899;  // 0000-03-01 to 1899-12-30
}  // namespace

CivilDate civil_date_of_jet_day(std::int64_t day) {
  const std::int64_t z = day + kDaysFromMarchZeroToJetEpoch;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto day_of_era = static_cast<unsigned>(z - era * 146097);
  const unsigned year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const unsigned day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const unsigned month_from_march = (5 * day_of_year + 2) / 153;
  const unsigned day_of_month = day_of_year - (153 * month_from_march + 2) / 5 + 1;
  const unsigned month = month_from_march < 10 ? month_from_march + 3 : month_from_march - 9;
  return {static_cast<std::int64_t>(year_of_era) + era * 400 + (month <= 2 ? 1 : 0), month, day_of_month};
}

std::int64_t jet_day_of_date(std::int64_t year, unsigned month, unsigned day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto year_of_era = static_cast<unsigned>(y - era * 400);
  const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + static_cast<std::int64_t>(day_of_era) - kDaysFromMarchZeroToJetEpoch;
}

JetDayAndSecond split_jet_day_count(double days) {
  const double whole = std::trunc(days);
  auto day = static_cast<std::int64_t>(whole);
  auto second = static_cast<std::int64_t>(std::llround(std::fabs(days - whole) * kSecondsPerDay));
  if (second == kSecondsPerDay) {
    ++day;
    second = 0;
  }
  return {day, second};
}

}  // namespace tarvik
