#include "sample_values.h"

namespace tarvik::archive_gen::sample {

std::int32_t day_number(int year, int month, int day) {
  // Howard Hinnant's days_from_civil, shifted from 1970-01-01 to Jet's 1899-12-30.
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int32_t days_since_1970 = era * 146097 + doe - 719468;
  return days_since_1970 + 25569;
}

std::u16string digits(std::int64_t n, int width) {
  const bool negative = n < 0;
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
  std::u16string out;
  do {
    out.insert(out.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  while (static_cast<int>(out.size()) < width) out.insert(out.begin(), u'0');
  if (negative) out.insert(out.begin(), u'-');
  return out;
}

std::u16string ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace tarvik::archive_gen::sample
