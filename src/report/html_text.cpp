#include "report/html_text.h"

namespace tarvik::report {

namespace {
// Characters copied as they are: everything but what HTML gives a meaning and control characters.
bool kept_as_is(char c) {
  switch (c) {
    case '&': case '<': case '>': case '"': case '\'': return false;
    default: return static_cast<unsigned char>(c) >= 0x20 || c == '\t';
  }
}
}  // namespace

void AppendEscaped(std::string& out, std::string_view utf8) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    // A run of plain characters goes in at once: most of a report's text needs no escaping.
    std::size_t run = i;
    while (run < utf8.size() && kept_as_is(utf8[run])) ++run;
    out.append(utf8.data() + i, run - i);
    if (run == utf8.size()) break;
    switch (utf8[run]) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      // Control characters have no place in an HTML page; a visible mark keeps their position.
      default: out += "\xE2\x90\xA3";  // ␣
    }
    i = run + 1;
  }
}

std::string Escaped(std::string_view utf8) {
  std::string out;
  AppendEscaped(out, utf8);
  return out;
}

}  // namespace tarvik::report
