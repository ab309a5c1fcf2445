#include "platform/posix/ini_syntax.h"

#include "common/utf8.h"

namespace tarvik::platform::ini {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool IsGeneral(std::string_view name) {
  static constexpr std::string_view kGeneral = "general";
  if (name.size() != kGeneral.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] - 'A' + 'a') : name[i];
    if (c != kGeneral[i]) return false;
  }
  return true;
}

}  // namespace

bool ReadLine(std::string_view data, std::size_t& pos, Line& line) {
  bool in_quotes = false;
  line.equals = std::string_view::npos;
  std::size_t start = pos;
  while (start < data.size() && IsSpace(data[start])) ++start;
  std::size_t i = start;
  while (i < data.size()) {
    const char ch = data[i++];
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
        const char next = data[i++];
        if (i < data.size() && ((next == '\n' && data[i] == '\r') || (next == '\r' && data[i] == '\n'))) ++i;
      }
    } else if (ch == '"') {
      in_quotes = !in_quotes;
    } else if (ch == ';') {
      if (i == start + 1) {
        while (i < data.size() && data[i] != '\n' && data[i] != '\r') ++i;
        while (i < data.size() && IsSpace(data[i])) ++i;
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

std::optional<std::u16string> SectionGroup(std::string_view line_text) {
  if (line_text.empty() || line_text.front() != '[') return std::nullopt;
  const std::size_t close = line_text.find(']');
  const std::string_view name =
      TrimBlanks(line_text.substr(1, close == std::string_view::npos ? line_text.size() - 1 : close - 1));
  // "[General]" holds the keys of no group; "[%General]" is the group named General.
  if (IsGeneral(name)) return std::u16string();
  if (name.size() > 1 && name.front() == '%' && IsGeneral(name.substr(1)))
    return utf8_to_utf16(name.substr(1)) + u"/";
  return UnescapeName(name) + u"/";
}

std::optional<std::u16string> KeyName(std::string_view data, const Line& line) {
  if (line.equals == std::string_view::npos) return std::nullopt;
  std::string_view name = data.substr(line.start, line.equals - line.start);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
  return UnescapeName(name);
}

}  // namespace tarvik::platform::ini
