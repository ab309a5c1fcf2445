#include "platform/command_line.h"

namespace tarvik::platform {

std::u16string SkipProgramName(std::u16string_view line) {
  std::size_t i = 0;
  if (!line.empty() && line[0] == u'"') {
    // Quoted: the name ends at the next quote, with no escapes inside.
    i = line.find(u'"', 1);
    i = i == std::u16string_view::npos ? line.size() : i + 1;
  } else {
    while (i < line.size() && line[i] != u' ' && line[i] != u'\t') ++i;
  }
  while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
  return std::u16string(line.substr(i));
}

}  // namespace tarvik::platform
