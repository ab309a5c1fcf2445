#include "platform/posix/ini_syntax.h"

#include "common/utf8.h"

namespace tarvik::platform::ini {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsAsciiLetterOrDigit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// The character of "%XX" or "%UXXXX" at `at`, and where the text goes on; nothing when malformed.
std::optional<char16_t> EscapedCharacter(std::u16string_view in, std::size_t& at) {
  std::size_t first = at + 1;
  std::size_t digits = 2;
  if (in[first] == u'U') ++first, digits = 4;
  if (first + digits > in.size()) return std::nullopt;
  unsigned value = 0;
  for (std::size_t k = 0; k < digits; ++k) {
    const int d = HexDigit(in[first + k]);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(d);
  }
  at = first + digits;
  return static_cast<char16_t>(value);
}

}  // namespace

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

std::u16string UnescapeName(std::string_view bytes) {
  const std::u16string in = utf8_to_utf16(bytes);
  std::u16string out;
  std::size_t i = 0;
  while (i < in.size()) {
    const char16_t ch = in[i];
    if (ch == u'\\') {
      out += u'/';
      ++i;
    } else if (ch != u'%' || i == in.size() - 1) {
      out += ch;
      ++i;
    } else if (std::optional<char16_t> escaped = EscapedCharacter(in, i)) {
      out += *escaped;
    } else {
      out += u'%';
      ++i;
    }
  }
  return out;
}

std::string EscapeName(std::u16string_view name) {
  std::string out;
  for (const char16_t ch : name) {
    if (ch == u'/') {
      out += '\\';
    } else if (IsAsciiLetterOrDigit(ch) || ch == u'_' || ch == u'-' || ch == u'.') {
      out += static_cast<char>(ch);
    } else if (ch <= 0xFF) {
      out += '%';
      out += kHexDigits[ch / 16];
      out += kHexDigits[ch % 16];
    } else {
      out += "%U";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(ch >> shift) & 0xF];
    }
  }
  return out;
}

std::string SectionLine(std::u16string_view section) {
  std::string name = EscapeName(section);
  if (name.empty()) name = "General";
  else if (SectionGroup("[" + name + "]") == u"") name = "%General";
  return "[" + name + "]";
}

}  // namespace tarvik::platform::ini
