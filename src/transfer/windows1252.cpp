#include "transfer/windows1252.h"

#include <cstdint>

#include "common/utf8.h"

namespace tarvik::transfer {

namespace {

constexpr char kReplacement = '?';

// The byte for a code point outside Latin-1's shared ranges, or 0 when there is none.
char high_byte(char32_t c) {
  switch (c) {
    case 0x20AC: return '\x80';
    case 0x201A: return '\x82';
    case 0x0192: return '\x83';
    case 0x201E: return '\x84';
    case 0x2026: return '\x85';
    case 0x2020: return '\x86';
    case 0x2021: return '\x87';
    case 0x02C6: return '\x88';
    case 0x2030: return '\x89';
    case 0x0160: return '\x8A';
    case 0x2039: return '\x8B';
    case 0x0152: return '\x8C';
    case 0x017D: return '\x8E';
    case 0x2018: return '\x91';
    case 0x2019: return '\x92';
    case 0x201C: return '\x93';
    case 0x201D: return '\x94';
    case 0x2022: return '\x95';
    case 0x2013: return '\x96';
    case 0x2014: return '\x97';
    case 0x02DC: return '\x98';
    case 0x2122: return '\x99';
    case 0x0161: return '\x9A';
    case 0x203A: return '\x9B';
    case 0x0153: return '\x9C';
    case 0x017E: return '\x9E';
    case 0x0178: return '\x9F';
    case 0x0081: return '\x81';
    case 0x008D: return '\x8D';
    case 0x008F: return '\x8F';
    case 0x0090: return '\x90';
    case 0x009D: return '\x9D';
    default: return 0;
  }
}

void append_code_point(std::string& out, char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    out.push_back(static_cast<char>(c));
    return;
  }
  const char b = high_byte(c);
  out.push_back(b != 0 ? b : kReplacement);
}

}  // namespace

void append_windows1252(std::string& out, std::u16string_view text) {
  out.reserve(out.size() + text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
    } else if (is_high_surrogate(u) || is_low_surrogate(u)) {
      // A pair is a character outside the code page; either way one "?".
      if (is_high_surrogate(u) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) ++i;
      out.push_back(kReplacement);
    } else {
      append_code_point(out, u);
    }
  }
}

// The program's own texts are short (block names, "T", "F"): one conversion through UTF-16 keeps
// a single mapping to the code page. A malformed byte becomes U+FFFD, and so "?".
void append_windows1252_utf8(std::string& out, std::string_view text) {
  append_windows1252(out, tarvik::utf8_to_utf16(text));
}

}  // namespace tarvik::transfer
