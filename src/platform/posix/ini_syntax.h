// The pieces of QSettings' INI dialect (IniFormat): lines, escaped names and values, each read
// and written the way Qt reads and writes them, so that a file written by a Qt program or by
// hand reads the same here, and a value written here reads the same in Qt.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::platform::ini {

// A line ends at CR or LF outside quotes; a backslash keeps the next character (so a backslash
// before a line break continues the line); ";" at the start of a line makes it a comment, and
// elsewhere outside quotes ends the line.
struct Line {
  std::size_t start = 0;
  std::size_t length = 0;
  std::size_t equals = std::string_view::npos;  // the first "=" outside quotes
  std::size_t end() const { return start + length; }
};
// The next line from `pos` on; false at the end of the data.
bool ReadLine(std::string_view data, std::size_t& pos, Line& line);

// The group a "[...]" line opens, ending in "/" ("" for [General]); nothing for any other line.
std::optional<std::u16string> SectionGroup(std::string_view line_text);
// A key line's name, unescaped; nothing for a line without "=".
std::optional<std::u16string> KeyName(std::string_view data, const Line& line);

// Names: "\" stands for "/", "%XX" and "%UXXXX" for any character.
std::u16string UnescapeName(std::string_view bytes);
std::string EscapeName(std::u16string_view name);
// The "[...]" line of a section, as QSettings writes it.
std::string SectionLine(std::u16string_view section);

// A value as stored: blanks around an unquoted value dropped, "..." quoting, C-like escapes, and
// an unquoted comma making a list.
struct Value {
  std::u16string text;
  std::vector<std::u16string> list;
  bool is_list = false;
};
Value UnescapeValue(std::string_view bytes);
// The text a stored value gives when read as a string.
std::u16string ValueAsText(const Value& value);
// A string as QSettings stores it.
std::string EscapeText(std::u16string_view text);

int HexDigit(char16_t c);

}  // namespace tarvik::platform::ini
