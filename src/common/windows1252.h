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
// Written out as a switch, which the compiler turns into a few comparisons: texts with typographic
// quotes call it for every quote.
constexpr int windows1252_byte(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit < 0x100)) return unit;
  switch (unit) {
    case 0x0081: case 0x008D: case 0x008F: case 0x0090: case 0x009D: return unit;
    case 0x20AC: return 0x80;
    case 0x201A: return 0x82;
    case 0x0192: return 0x83;
    case 0x201E: return 0x84;
    case 0x2026: return 0x85;
    case 0x2020: return 0x86;
    case 0x2021: return 0x87;
    case 0x02C6: return 0x88;
    case 0x2030: return 0x89;
    case 0x0160: return 0x8A;
    case 0x2039: return 0x8B;
    case 0x0152: return 0x8C;
    case 0x017D: return 0x8E;
    case 0x2018: return 0x91;
    case 0x2019: return 0x92;
    case 0x201C: return 0x93;
    case 0x201D: return 0x94;
    case 0x2022: return 0x95;
    case 0x2013: return 0x96;
    case 0x2014: return 0x97;
    case 0x02DC: return 0x98;
    case 0x2122: return 0x99;
    case 0x0161: return 0x9A;
    case 0x203A: return 0x9B;
    case 0x0153: return 0x9C;
    case 0x017E: return 0x9E;
    case 0x0178: return 0x9F;
    default: return -1;
  }
}

// The way back is the table's inverse, byte for byte.
static_assert([] {
  for (int b = 0; b < 256; ++b)
    if (windows1252_byte(windows1252_char(static_cast<std::uint8_t>(b))) != b) return false;
  return true;
}());

}  // namespace tarvik
