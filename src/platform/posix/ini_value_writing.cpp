#include <cstdio>

#include "platform/posix/ini_syntax.h"
#include "common/utf8.h"

namespace tarvik::platform::ini {

namespace {

const char* NamedEscape(char16_t ch) {
  switch (ch) {
    case u'\a': return "\\a";
    case u'\b': return "\\b";
    case u'\f': return "\\f";
    case u'\n': return "\\n";
    case u'\r': return "\\r";
    case u'\t': return "\\t";
    case u'\v': return "\\v";
    case u'"': return "\\\"";
    case u'\\': return "\\\\";
    default: return nullptr;
  }
}

std::string HexEscape(char16_t ch) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%x", static_cast<unsigned>(ch));
  return text;
}

}  // namespace

// As QSettings writes a string: a leading "@" doubled; control characters escaped, "\x" and "\0"
// escapes followed by an escaped hex digit so that it is not read as part of them; the rest
// UTF-8; quotes around a value holding ";", "," or "=" or with a blank at either end.
std::string EscapeText(std::u16string_view text) {
  const std::u16string stored = !text.empty() && text[0] == u'@' ? u"@" + std::u16string(text) : std::u16string(text);
  std::string out;
  bool needs_quotes = false;
  bool escape_next_if_digit = false;
  std::size_t plain_from = 0;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const char16_t ch = stored[i];
    if (ch == u';' || ch == u',' || ch == u'=') needs_quotes = true;
    const bool digit_after_number = escape_next_if_digit && HexDigit(ch) >= 0;
    const char* named = NamedEscape(ch);
    if (!digit_after_number && !named && ch > 0x1F) {
      escape_next_if_digit = false;
      continue;  // a plain character, written with its run
    }
    out += utf16_to_utf8(std::u16string_view(stored).substr(plain_from, i - plain_from));
    plain_from = i + 1;
    if (named && !digit_after_number) {
      out += named;
      escape_next_if_digit = false;
    } else {
      out += ch == 0 && !digit_after_number ? std::string("\\0") : HexEscape(ch);
      escape_next_if_digit = true;
    }
  }
  out += utf16_to_utf8(std::u16string_view(stored).substr(plain_from));
  if (needs_quotes || (!out.empty() && (out.front() == ' ' || out.back() == ' '))) out = '"' + out + '"';
  return out;
}

}  // namespace tarvik::platform::ini
