#include "report/html_text.h"

namespace tarvik::report {

void AppendEscaped(std::string& out, std::string_view utf8) {
  for (char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default:
        // Control characters have no place in an HTML page; a visible mark keeps their position.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') out += "\xE2\x90\xA3";  // ␣
        else out += c;
    }
  }
}

std::string Escaped(std::string_view utf8) {
  std::string out;
  AppendEscaped(out, utf8);
  return out;
}

}  // namespace tarvik::report
