#include <utility>

#include "platform/posix/ini_syntax.h"
#include "common/utf8.h"

namespace tarvik::platform::ini {

namespace {

void ChopTrailingBlanks(std::u16string& s, std::size_t limit) {
  while (s.size() > limit && (s.back() == u' ' || s.back() == u'\t')) s.pop_back();
}

std::optional<char16_t> SimpleEscape(char code) {
  static constexpr std::pair<char, char16_t> kEscapes[] = {
      {'a', u'\a'}, {'b', u'\b'}, {'f', u'\f'}, {'n', u'\n'},  {'r', u'\r'}, {'t', u'\t'},
      {'v', u'\v'}, {'"', u'"'},  {'?', u'?'},  {'\'', u'\''}, {'\\', u'\\'}};
  for (auto [escape, value] : kEscapes)
    if (escape == code) return value;
  return std::nullopt;
}

bool StartsWith(std::u16string_view s, std::u16string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Reads one stored value from left to right, as QSettings' own reader does.
class ValueReader {
 public:
  explicit ValueReader(std::string_view str) : str_(str) {}

  Value Read() {
    SkipBlanks();
    chop_limit_ = 0;
    while (i_ < str_.size()) {
      const char ch = str_[i_];
      if (ch == '\\') {
        if (!ReadEscape()) break;
      } else if (ch == '"') {
        ReadQuote();
      } else if (ch == ',' && !in_quotes_) {
        EndListItem();
      } else {
        std::size_t j = i_ + 1;
        while (j < str_.size() && str_[j] != '\\' && str_[j] != '"' && str_[j] != ',') ++j;
        value_.text += utf8_to_utf16(str_.substr(i_, j - i_));
        i_ = j;
      }
    }
    if (!current_quoted_) ChopTrailingBlanks(value_.text, chop_limit_);
    if (value_.is_list) value_.list.push_back(value_.text);
    return std::move(value_);
  }

 private:
  void SkipBlanks() {
    while (i_ < str_.size() && (str_[i_] == ' ' || str_[i_] == '\t')) ++i_;
  }

  // \x and \0 escapes read as many digits as follow, into one UTF-16 unit.
  void ReadNumber(unsigned value, unsigned base) {
    for (; i_ < str_.size(); ++i_) {
      const char c = str_[i_];
      const int d = base == 16 ? HexDigit(static_cast<char16_t>(c)) : (c >= '0' && c <= '7' ? c - '0' : -1);
      if (d < 0) break;
      value = value * base + static_cast<unsigned>(d);
    }
    value_.text += static_cast<char16_t>(value);
  }

  // The escape after a backslash; false when the value ends inside it.
  bool ReadEscape() {
    if (++i_ >= str_.size()) return false;
    const char e = str_[i_++];
    if (const std::optional<char16_t> simple = SimpleEscape(e)) {
      value_.text += *simple;
    } else if (e == 'x') {
      if (i_ >= str_.size()) return false;
      if (HexDigit(static_cast<char16_t>(str_[i_])) >= 0) ReadNumber(0, 16);
    } else if (e >= '0' && e <= '7') {
      ReadNumber(static_cast<unsigned>(e - '0'), 8);
    } else if (e == '\n' || e == '\r') {
      if (i_ < str_.size() && (str_[i_] == '\n' || str_[i_] == '\r') && str_[i_] != e) ++i_;
    }
    // any other escaped character is dropped
    chop_limit_ = value_.text.size();
    return true;
  }

  void ReadQuote() {
    ++i_;
    current_quoted_ = true;
    in_quotes_ = !in_quotes_;
    if (!in_quotes_) {
      SkipBlanks();
      chop_limit_ = value_.text.size();
    }
  }

  void EndListItem() {
    if (!current_quoted_) ChopTrailingBlanks(value_.text, chop_limit_);
    if (!value_.is_list) value_.is_list = true, value_.list.clear();
    value_.list.push_back(std::move(value_.text));
    value_.text.clear();
    current_quoted_ = false;
    ++i_;
    SkipBlanks();
    chop_limit_ = 0;
  }

  std::string_view str_;
  std::size_t i_ = 0;
  Value value_;
  bool in_quotes_ = false;
  bool current_quoted_ = false;
  std::size_t chop_limit_ = 0;
};

// "@ByteArray(...)": the bytes are the characters' low halves, read back as UTF-8.
std::u16string ByteArrayText(std::u16string_view s) {
  std::string bytes;
  for (char16_t c : s.substr(11, s.size() - 12)) bytes += c <= 0xFF ? static_cast<char>(c) : '?';
  return utf8_to_utf16(bytes);
}

}  // namespace

Value UnescapeValue(std::string_view bytes) { return ValueReader(bytes).Read(); }

// "@@" stands for a leading "@"; the "@Type(...)" forms hold values of other types, of which only
// a byte array reads as text; a list reads as text only when it has one item.
std::u16string ValueAsText(const Value& v) {
  if (v.is_list) {
    for (const std::u16string& item : v.list)
      if (!item.empty() && item[0] == u'@' && !StartsWith(item, u"@@")) return u"";
    if (v.list.size() != 1) return u"";
    return StartsWith(v.list[0], u"@@") ? v.list[0].substr(1) : v.list[0];
  }
  const std::u16string& s = v.text;
  if (s.empty() || s[0] != u'@') return s;
  if (s.back() == u')') {
    if (StartsWith(s, u"@ByteArray(")) return ByteArrayText(s);
    if (StartsWith(s, u"@Variant(") || StartsWith(s, u"@DateTime(") || StartsWith(s, u"@Rect(") ||
        StartsWith(s, u"@Size(") || StartsWith(s, u"@Point(") || s == u"@Invalid()")
      return u"";
  }
  return StartsWith(s, u"@@") ? s.substr(1) : s;
}

}  // namespace tarvik::platform::ini
