#include "app/settings.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "common/names.h"
#include "common/utf8.h"
#include "platform/settings_store.h"
#include "platform/utf8_path.h"

namespace tarvik::app {

namespace {

// ---- UTF-8 and UTF-16: QSettings decodes the file as UTF-8 and unescapes in UTF-16 units.

using tarvik::utf16_to_utf8;
using tarvik::utf8_to_utf16;

int hex_digit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// ---- Lines. A line ends at CR or LF outside quotes; a backslash keeps the next character (so a
// backslash before a line break continues the line); ";" at the start of a line makes it a
// comment, and elsewhere outside quotes ends the line (what follows is then read as a comment).

struct IniLine {
  std::size_t start = 0;
  std::size_t length = 0;
  std::size_t equals = std::string_view::npos;  // the first "=" outside quotes
};

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

bool read_line(std::string_view data, std::size_t& pos, IniLine& line) {
  bool in_quotes = false;
  line.equals = std::string_view::npos;
  std::size_t start = pos;
  while (start < data.size() && is_space(data[start])) ++start;
  std::size_t i = start;
  while (i < data.size()) {
    char ch = data[i++];
    if (ch == '=') {
      if (!in_quotes && line.equals == std::string_view::npos) line.equals = i - 1;
    } else if (ch == '\n' || ch == '\r') {
      if (i == start + 1) {
        ++start;
      } else if (!in_quotes) {
        --i;
        break;
      }
    } else if (ch == '\\') {
      if (i < data.size()) {
        char next = data[i++];
        if (i < data.size() && ((next == '\n' && data[i] == '\r') || (next == '\r' && data[i] == '\n'))) ++i;
      }
    } else if (ch == '"') {
      in_quotes = !in_quotes;
    } else if (ch == ';') {
      if (i == start + 1) {
        while (i < data.size() && data[i] != '\n' && data[i] != '\r') ++i;
        while (i < data.size() && is_space(data[i])) ++i;
        start = i;
      } else if (!in_quotes) {
        --i;
        break;
      }
    }
  }
  pos = i;
  line.start = start;
  line.length = i - start;
  return line.length > 0;
}

// ---- Names: "\" stands for "/", "%XX" and "%UXXXX" for any character.

std::u16string unescape_name(std::string_view bytes) {
  std::u16string in = utf8_to_utf16(bytes);
  std::u16string out;
  std::size_t i = 0;
  while (i < in.size()) {
    char16_t ch = in[i];
    if (ch == u'\\') {
      out += u'/';
      ++i;
      continue;
    }
    if (ch != u'%' || i == in.size() - 1) {
      out += ch;
      ++i;
      continue;
    }
    std::size_t first = i + 1;
    std::size_t digits = 2;
    if (in[first] == u'U') ++first, digits = 4;
    unsigned value = 0;
    bool ok = first + digits <= in.size();
    for (std::size_t k = 0; ok && k < digits; ++k) {
      int d = hex_digit(in[first + k]);
      ok = d >= 0;
      value = value * 16 + static_cast<unsigned>(d);
    }
    if (!ok) {
      out += u'%';
      ++i;
      continue;
    }
    out += static_cast<char16_t>(value);
    i = first + digits;
  }
  return out;
}

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
  return s;
}

// ---- Values: blanks around an unquoted value dropped, "..." quoting, C-like escapes, and an
// unquoted comma making a list.

struct IniValue {
  std::u16string text;
  std::vector<std::u16string> list;
  bool is_list = false;
};

void chop_trailing_blanks(std::u16string& s, std::size_t limit) {
  while (s.size() > limit && (s.back() == u' ' || s.back() == u'\t')) s.pop_back();
}

IniValue unescape_value(std::string_view str) {
  IniValue v;
  std::u16string& text = v.text;
  bool in_quotes = false;
  bool current_quoted = false;
  std::size_t i = 0;
  std::size_t chop_limit = 0;
  auto skip_blanks = [&] {
    while (i < str.size() && (str[i] == ' ' || str[i] == '\t')) ++i;
  };
  // \x and \0 escapes read as many digits as follow, into one UTF-16 unit.
  auto read_number = [&](unsigned value, int base) {
    while (i < str.size()) {
      int d = base == 16 ? hex_digit(static_cast<char16_t>(str[i])) : (str[i] >= '0' && str[i] <= '7' ? str[i] - '0' : -1);
      if (d < 0) break;
      value = value * base + static_cast<unsigned>(d);
      ++i;
    }
    text += static_cast<char16_t>(value);
  };

  skip_blanks();
  chop_limit = text.size();
  while (i < str.size()) {
    char ch = str[i];
    if (ch == '\\') {
      ++i;
      if (i >= str.size()) break;
      char e = str[i++];
      static constexpr std::pair<char, char16_t> kEscapes[] = {
          {'a', u'\a'}, {'b', u'\b'}, {'f', u'\f'}, {'n', u'\n'},  {'r', u'\r'}, {'t', u'\t'},
          {'v', u'\v'}, {'"', u'"'},  {'?', u'?'},  {'\'', u'\''}, {'\\', u'\\'}};
      bool simple = false;
      for (auto [code, value] : kEscapes) {
        if (e == code) {
          text += value;
          simple = true;
          break;
        }
      }
      if (simple) {
        chop_limit = text.size();
        continue;
      }
      if (e == 'x') {
        if (i >= str.size()) break;
        if (hex_digit(static_cast<char16_t>(str[i])) >= 0) {
          read_number(0, 16);
          chop_limit = text.size();
          continue;
        }
      } else if (e >= '0' && e <= '7') {
        read_number(static_cast<unsigned>(e - '0'), 8);
        chop_limit = text.size();
        continue;
      } else if (e == '\n' || e == '\r') {
        if (i < str.size() && (str[i] == '\n' || str[i] == '\r') && str[i] != e) ++i;
      }
      // any other escaped character is dropped
      chop_limit = text.size();
    } else if (ch == '"') {
      ++i;
      current_quoted = true;
      in_quotes = !in_quotes;
      if (!in_quotes) {
        skip_blanks();
        chop_limit = text.size();
      }
    } else if (ch == ',' && !in_quotes) {
      if (!current_quoted) chop_trailing_blanks(text, chop_limit);
      if (!v.is_list) v.is_list = true, v.list.clear();
      v.list.push_back(text);
      text.clear();
      current_quoted = false;
      ++i;
      skip_blanks();
      chop_limit = 0;
    } else {
      std::size_t j = i + 1;
      while (j < str.size() && str[j] != '\\' && str[j] != '"' && str[j] != ',') ++j;
      text += utf8_to_utf16(str.substr(i, j - i));
      i = j;
    }
  }
  if (!current_quoted) chop_trailing_blanks(text, chop_limit);
  if (v.is_list) v.list.push_back(text);
  return v;
}

bool starts_with(std::u16string_view s, std::u16string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// The text a stored value gives when read as a string: "@@" stands for a leading "@"; the
// "@Type(...)" forms hold values of other types, of which only a byte array reads as text; a list
// reads as text only when it has one item.
std::u16string value_as_text(const IniValue& v) {
  if (v.is_list) {
    for (const std::u16string& item : v.list)
      if (!item.empty() && item[0] == u'@' && !starts_with(item, u"@@")) return u"";
    if (v.list.size() != 1) return u"";
    return starts_with(v.list[0], u"@@") ? v.list[0].substr(1) : v.list[0];
  }
  const std::u16string& s = v.text;
  if (s.empty() || s[0] != u'@') return s;
  if (s.back() == u')') {
    if (starts_with(s, u"@ByteArray(")) {
      // The bytes are the characters' low halves, read back as UTF-8.
      std::string bytes;
      for (char16_t c : std::u16string_view(s).substr(11, s.size() - 12))
        bytes += c <= 0xFF ? static_cast<char>(c) : '?';
      return utf8_to_utf16(bytes);
    }
    if (starts_with(s, u"@Variant(") || starts_with(s, u"@DateTime(") || starts_with(s, u"@Rect(") ||
        starts_with(s, u"@Size(") || starts_with(s, u"@Point(") || s == u"@Invalid()")
      return u"";
  }
  return starts_with(s, u"@@") ? s.substr(1) : s;
}

}  // namespace

std::filesystem::path SettingsFilePath(std::string_view application) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path base;
  if (config != nullptr && *config != '\0') {
    base = platform::PathFromUtf8(config);
  } else {
    const char* home = std::getenv("HOME");
    base = platform::PathFromUtf8(home != nullptr && *home != '\0' ? home : "/") / ".config";
  }
  return base / platform::PathFromUtf8(application) / platform::PathFromUtf8(std::string(application) + ".ini");
}

std::optional<std::string> FindIniText(std::string_view ini, std::string_view section, std::string_view key) {
  if (ini.substr(0, 3) == "\xEF\xBB\xBF") ini.remove_prefix(3);
  const std::u16string wanted_section = utf8_to_utf16(section);
  const std::u16string wanted_key = utf8_to_utf16(key);

  // Sections of the same name are read as one, in the order they come. Each section's name is
  // its group followed by "/" ("" for [General]).
  const std::u16string wanted_group = wanted_section + u"/";
  const std::u16string full_key = wanted_group + wanted_key;
  std::u16string nearest_group;  // the greatest group name not after the full key
  bool has_nearest = false;
  std::optional<IniValue> found;
  bool in_section = false;
  std::size_t pos = 0;
  IniLine line;
  while (read_line(ini, pos, line)) {
    std::string_view text = ini.substr(line.start, line.length);
    if (text.front() == '[') {
      std::size_t close = text.find(']');
      std::string_view name = trim_blanks(text.substr(1, close == std::string_view::npos ? text.size() - 1 : close - 1));
      // "[General]" holds the keys of no group; "[%General]" is the group named General.
      std::u16string group;
      if (!same_name(name, "general"))
        group = (same_name(name, "%general") ? utf8_to_utf16(name.substr(1)) : unescape_name(name)) + u"/";
      in_section = group == wanted_group;
      if (group <= full_key && (!has_nearest || group > nearest_group)) nearest_group = group, has_nearest = true;
      continue;
    }
    if (!in_section || line.equals == std::string_view::npos) continue;
    std::string_view name = ini.substr(line.start, line.equals - line.start);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    if (unescape_name(name) != wanted_key) continue;
    std::size_t value_start = line.equals + 1;
    found = unescape_value(ini.substr(value_start, line.start + line.length - value_start));
  }
  // QSettings looks a key up only in the section whose name comes nearest before the key in
  // name order; a section such as [Installazione\A] hides [Installazione] from it.
  if (!found || nearest_group != wanted_group) return std::nullopt;
  return utf16_to_utf8(value_as_text(*found));
}

std::string GetSetting(std::string_view application, std::string_view section, std::string_view key,
                       std::string_view default_value) {
  std::ifstream in(SettingsFilePath(application), std::ios::binary);
  if (!in) return std::string(default_value);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::optional<std::string> text = FindIniText(bytes, section, key);
  return text ? *text : std::string(default_value);
}

std::string ReadInstallationFolder() {
  if (platform::SettingsInRegistry())
    return platform::ReadRegistrySetting("Tarvik", "Installazione", "Cartella").value_or("");
  return GetSetting("Tarvik", "Installazione", "Cartella", "");
}

}  // namespace tarvik::app
