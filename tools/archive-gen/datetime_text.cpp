#include "datetime_text.h"

#include "common/calendar.h"

namespace tarvik::archive_gen {

namespace {

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int days_in_month(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && leap(y) ? 29 : kDays[m - 1];
}

// Reads exactly `n` digits at `pos`.
std::optional<int> digits(std::string_view s, std::size_t pos, std::size_t n) {
  if (pos + n > s.size()) return std::nullopt;
  int v = 0;
  for (std::size_t i = pos; i < pos + n; ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
  }
  return v;
}

std::optional<int> time_of_day(std::string_view s) {
  if (s.size() != 8 || s[2] != ':' || s[5] != ':') return std::nullopt;
  const auto h = digits(s, 0, 2), m = digits(s, 3, 2), sec = digits(s, 6, 2);
  if (!h || !m || !sec || *h > 23 || *m > 59 || *sec > 59) return std::nullopt;
  return *h * 3600 + *m * 60 + *sec;
}

}  // namespace

long long days_since_1899_12_30(int year, int month, int day) {
  return jet_day_of_date(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
}

archive::DateTime jet_datetime(long long days, int seconds_of_day) {
  const double fraction = seconds_of_day / 86400.0;
  const double d = static_cast<double>(days);
  return archive::DateTime{days >= 0 ? d + fraction : d - fraction};
}

std::optional<archive::DateTime> parse_datetime_text(std::string_view text) {
  if (text.size() == 8) {
    const auto t = time_of_day(text);
    if (!t) return std::nullopt;
    return jet_datetime(0, *t);
  }
  if (text.size() != 10 && text.size() != 19) return std::nullopt;
  if (text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto y = digits(text, 0, 4), m = digits(text, 5, 2), d = digits(text, 8, 2);
  if (!y || !m || !d || *y < 100 || *m < 1 || *m > 12 || *d < 1 || *d > days_in_month(*y, *m))
    return std::nullopt;
  int seconds = 0;
  if (text.size() == 19) {
    if (text[10] != ' ') return std::nullopt;
    const auto t = time_of_day(text.substr(11));
    if (!t) return std::nullopt;
    seconds = *t;
  }
  return jet_datetime(days_since_1899_12_30(*y, *m, *d), seconds);
}

}  // namespace tarvik::archive_gen
