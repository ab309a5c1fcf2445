#include "currency_text.h"

#include <cmath>
#include <limits>

namespace tarvik::archive_gen {

std::optional<std::int64_t> parse_currency_text(std::string_view text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  unsigned __int128 units = 0;
  std::size_t whole_digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++whole_digits) {
    units = units * 10 + static_cast<unsigned>(text[i] - '0');
    if (units > std::numeric_limits<std::uint64_t>::max()) return std::nullopt;
  }
  if (whole_digits == 0) return std::nullopt;
  int decimals = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      if (++decimals > 4) return std::nullopt;
      units = units * 10 + static_cast<unsigned>(text[i] - '0');
    }
    if (decimals == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  for (; decimals < 4; ++decimals) units *= 10;
  const unsigned __int128 limit =
      static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
  if (units > limit) return std::nullopt;
  if (negative) return static_cast<std::int64_t>(-static_cast<__int128>(units));
  return static_cast<std::int64_t>(units);
}

std::optional<std::int64_t> currency_from_double(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double scaled = std::round(value * 10000.0);
  // Beyond 2^53 ten-thousandths a double no longer tells neighbouring amounts apart.
  if (std::fabs(scaled) > 9007199254740992.0) return std::nullopt;
  const auto units = static_cast<std::int64_t>(scaled);
  if (static_cast<double>(units) / 10000.0 != value) return std::nullopt;
  return units;
}

}  // namespace tarvik::archive_gen
