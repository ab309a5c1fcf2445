// Texts of the run, in UTF-8 with CR LF line breaks, as Windows controls need them: an edit box
// breaks lines only at CR LF, so a lone CR or LF becomes CR LF too. Kept free of Windows headers
// so that it is tested on every platform.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::app::window::win32 {

inline std::string WithWindowsLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace tarvik::app::window::win32
