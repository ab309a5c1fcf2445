// Windows-1252, the ANSI code page of Italian Windows and of Jet3 archives' texts: the code points
// of its bytes 0x80-0x9F (every other byte stands for the Latin-1 code point of the same value),
// and the way back from a UTF-16 unit to its byte.
#pragma once

#include <array>
#include <cstdint>

namespace tarvik {

// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the
// control characters of the same value, as Windows' MultiByteToWideChar gives them.
inline constexpr std::array<char16_t, 32> kWindows1252HighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char16_t windows1252_char(std::uint8_t byte) {
  return byte >= 0x80 && byte < 0xA0 ? kWindows1252HighHalf[byte - 0x80] : char16_t{byte};
}

// The byte that stands for `unit`, or -1 when the code page has none (a surrogate never has).
constexpr int windows1252_byte(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit < 0x100)) return unit;
  for (std::size_t k = 0; k < kWindows1252HighHalf.size(); ++k)
    if (kWindows1252HighHalf[k] == unit) return static_cast<int>(0x80 + k);
  return -1;
}

}  // namespace tarvik
