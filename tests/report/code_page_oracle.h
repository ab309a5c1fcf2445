// Which characters Windows-1252 can hold, asked of the C library's own converter (iconv), not of
// the program's table. The five bytes the code page leaves undefined are the exception the archive
// reader makes on purpose: they come back from the control characters of the same value.
#pragma once

#include <iconv.h>

#include <map>
#include <stdexcept>
#include <string>

namespace tarvik::test {

inline bool in_windows1252(char16_t unit) {
  if (unit == 0x81 || unit == 0x8D || unit == 0x8F || unit == 0x90 || unit == 0x9D) return true;
  if (unit >= 0xD800 && unit <= 0xDFFF) return false;
  static std::map<char16_t, bool> known;
  if (auto found = known.find(unit); found != known.end()) return found->second;
  iconv_t convert = iconv_open("WINDOWS-1252", "UTF-16LE");
  if (convert == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no WINDOWS-1252");
  char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  char out[8];
  char* in_at = in;
  char* out_at = out;
  std::size_t in_left = 2, out_left = sizeof out;
  const bool ok = iconv(convert, &in_at, &in_left, &out_at, &out_left) != static_cast<std::size_t>(-1);
  iconv_close(convert);
  return known[unit] = ok;
}

// Whether writing `text` changes it: a character the code page lacks, or (unless written raw) a
// control character other than TAB, which cleaning removes.
inline bool changed_on_the_way(const std::u16string& text, bool raw) {
  for (char16_t c : text) {
    if (c < 32) {
      if (!raw && c != u'\t') return true;
    } else if (!in_windows1252(c)) {
      return true;
    }
  }
  return false;
}

}  // namespace tarvik::test
