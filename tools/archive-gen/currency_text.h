// Money in descriptions: a JSON number or a string with up to four decimals ("-1234.5678"),
// turned into Jet's exact count of ten-thousandths.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarvik::archive_gen {

// None when the text is not [-]digits[.1-4 digits] or the amount does not fit 64 bits.
std::optional<std::int64_t> parse_currency_text(std::string_view text);

// A double that has at most four decimals (read back through the nearest double); none when it
// has more, or is too large to be exact.
std::optional<std::int64_t> currency_from_double(double value);

}  // namespace tarvik::archive_gen
