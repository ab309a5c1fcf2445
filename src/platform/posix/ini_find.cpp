#include "platform/posix/ini_syntax.h"
#include "platform/posix/ini_text.h"
#include "common/utf8.h"

namespace tarvik::platform {

std::optional<std::string> FindIniText(std::string_view ini, std::string_view section, std::string_view key) {
  if (ini.substr(0, 3) == "\xEF\xBB\xBF") ini.remove_prefix(3);
  // Sections of the same name are read as one, in the order they come.
  const std::u16string wanted_group = utf8_to_utf16(section) + u"/";
  const std::u16string wanted_key = utf8_to_utf16(key);
  const std::u16string full_key = wanted_group + wanted_key;
  std::optional<std::u16string> nearest_group;  // the greatest group name not after the full key
  std::optional<ini::Value> found;
  bool in_section = false;
  std::size_t pos = 0;
  ini::Line line;
  while (ini::ReadLine(ini, pos, line)) {
    if (std::optional<std::u16string> group = ini::SectionGroup(ini.substr(line.start, line.length))) {
      in_section = *group == wanted_group;
      if (*group <= full_key && (!nearest_group || *group > *nearest_group)) nearest_group = std::move(group);
      continue;
    }
    if (in_section && ini::KeyName(ini, line) == wanted_key)
      found = ini::UnescapeValue(ini.substr(line.equals + 1, line.end() - line.equals - 1));
  }
  // QSettings looks a key up only in the section whose name comes nearest before the key in
  // name order; a section such as [Installazione\A] hides [Installazione] from it.
  if (!found || nearest_group != wanted_group) return std::nullopt;
  return utf16_to_utf8(ini::ValueAsText(*found));
}

}  // namespace tarvik::platform
