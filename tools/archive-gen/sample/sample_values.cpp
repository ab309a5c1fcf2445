#include "sample_values.h"

#include "common/calendar.h"

namespace tarvik::archive_gen::sample {

std::int32_t day_number(int year, int month, int day) {
  return static_cast<std::int32_t>(
      jet_day_of_date(year, static_cast<unsigned>(month), static_cast<unsigned>(day)));
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
