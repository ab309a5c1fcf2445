#include "platform/posix/ini_syntax.h"
#include "platform/posix/ini_text.h"
#include "common/utf8.h"

namespace tarvik::platform {

namespace {

// Where the wanted key is in the file: its last line in the section, or the end of the section's
// last line; neither when the section is missing.
struct KeyPlace {
  std::optional<ini::Line> key_line;
  std::optional<std::size_t> section_end;
};

KeyPlace FindKeyPlace(std::string_view ini, std::u16string_view group, std::u16string_view key) {
  KeyPlace place;
  bool in_section = false;
  std::size_t pos = 0;
  ini::Line line;
  while (ini::ReadLine(ini, pos, line)) {
    if (std::optional<std::u16string> section = ini::SectionGroup(ini.substr(line.start, line.length))) {
      in_section = *section == group;
    } else if (in_section && ini::KeyName(ini, line) == key) {
      place.key_line = line;
    }
    if (in_section) place.section_end = line.end();
  }
  return place;
}

}  // namespace

std::string SetIniText(std::string_view ini, std::string_view section, std::string_view key,
                       std::string_view value) {
  const std::string_view bom = ini.substr(0, 3) == "\xEF\xBB\xBF" ? ini.substr(0, 3) : std::string_view();
  const std::string_view text = ini.substr(bom.size());
  const std::u16string wanted_key = utf8_to_utf16(key);
  const std::string stored = ini::EscapeText(utf8_to_utf16(value));
  // QSettings ends its lines with LF; a file with CR LF keeps them.
  const std::string eol = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
  const KeyPlace place = FindKeyPlace(text, utf8_to_utf16(section) + u"/", wanted_key);
  std::string out(bom);
  if (place.key_line) {
    const std::size_t value_start = place.key_line->equals + 1;
    return out.append(text.substr(0, value_start)).append(stored).append(text.substr(place.key_line->end()));
  }
  const std::string entry = ini::EscapeName(wanted_key) + "=" + stored;
  if (place.section_end)
    return out.append(text.substr(0, *place.section_end)).append(eol + entry).append(text.substr(*place.section_end));
  out.append(text);
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') out += eol;
  if (!text.empty()) out += eol;  // QSettings leaves a blank line between sections
  return out.append(ini::SectionLine(utf8_to_utf16(section))).append(eol).append(entry).append(eol);
}

}  // namespace tarvik::platform
