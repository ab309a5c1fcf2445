// The texts the user's guide quotes, and how a quote is held against a line the program shows.
//
// The guide (docs/guida.md) puts every text of the program between « and », and uses « and » for
// nothing else: a line of a message or of the error panel, a title, a button, a line that
// tarvik-transfer prints, a text of the report page. A quote may be wrapped over lines of the guide:
// the line break and the blanks around it read as one blank, as Markdown shows them. Where the
// program shows something that changes from case to case (a number, a path, a reason, a code),
// the quote has "…", which stands for one character or more. Everything else in a quote must be
// the program's own text, character for character; only the blanks at the end of a line of the
// program, which nobody sees, do not count.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::test::guide {

inline constexpr std::string_view kOpen = "\xC2\xAB";           // «
inline constexpr std::string_view kClose = "\xC2\xBB";          // »
inline constexpr std::string_view kAnything = "\xE2\x80\xA6";  // …

struct Quote {
  std::string text;
  int line = 0;  // the guide's line where the quote starts
};

// Every quote of `guide`, in order. A « inside a quote, a quote that is never closed and a » outside
// any quote are mistakes of the guide: std::runtime_error, naming the line.
inline std::vector<Quote> Quotes(std::string_view guide) {
  std::vector<Quote> quotes;
  int line = 1;
  bool inside = false;
  Quote current;
  std::string blanks;  // blanks met inside a quote, kept until the next character shows what they are
  bool line_break = false;
  for (std::size_t i = 0; i < guide.size();) {
    const std::string_view rest = guide.substr(i);
    if (rest.starts_with(kOpen)) {
      if (inside) throw std::runtime_error("line " + std::to_string(line) + ": a \xC2\xAB inside a quote");
      inside = true;
      current = Quote{{}, line};
      blanks.clear();
      line_break = false;
      i += kOpen.size();
      continue;
    }
    if (rest.starts_with(kClose)) {
      if (!inside) throw std::runtime_error("line " + std::to_string(line) + ": a \xC2\xBB outside any quote");
      if (!line_break) current.text += blanks;
      quotes.push_back(current);
      inside = false;
      i += kClose.size();
      continue;
    }
    const char c = guide[i++];
    if (c == '\n') ++line;
    if (!inside) continue;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      blanks += c;
      if (c == '\n') line_break = true;
      continue;
    }
    if (!blanks.empty()) current.text += line_break ? std::string(" ") : blanks;
    blanks.clear();
    line_break = false;
    current.text += c;
  }
  if (inside) throw std::runtime_error("line " + std::to_string(current.line) + ": a quote without its \xC2\xBB");
  return quotes;
}

// What in a quote Markdown would show otherwise than it is written (emphasis, code, markup, a
// character escaped by a backslash), so that the reader would not see the program's text; empty
// when there is nothing.
inline std::string MarkdownHazard(std::string_view quote) {
  for (std::size_t i = 0; i < quote.size(); ++i) {
    const char c = quote[i];
    if (c == '*' || c == '_' || c == '`' || c == '<') return std::string("the character ") + c;
    if (c == '\\' && i + 1 < quote.size()) {
      const char next = quote[i + 1];
      const bool punctuation = (next >= '!' && next <= '/') || (next >= ':' && next <= '@') ||
                               (next >= '[' && next <= '`') || (next >= '{' && next <= '~');
      if (punctuation) return std::string("a backslash before ") + next;
    }
  }
  return {};
}

// The characters of the quote that are the program's own, outside its "…".
inline std::size_t LiteralLength(std::string_view quote) {
  std::size_t length = 0;
  for (std::size_t at = 0;;) {
    const std::size_t next = quote.find(kAnything, at);
    for (char c : quote.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at))
      if (c != ' ') ++length;
    if (next == std::string_view::npos) return length;
    at = next + kAnything.size();
  }
}

// Whether `line` is what `quote` says: equal, each "…" of the quote standing for one character or
// more of the line.
inline bool Matches(std::string_view quote, std::string_view line) {
  std::vector<std::string_view> pieces;
  for (std::size_t at = 0;;) {
    const std::size_t next = quote.find(kAnything, at);
    if (next == std::string_view::npos) {
      pieces.push_back(quote.substr(at));
      break;
    }
    pieces.push_back(quote.substr(at, next - at));
    at = next + kAnything.size();
  }
  if (pieces.size() == 1) return quote == line;
  if (!line.starts_with(pieces.front())) return false;
  std::size_t at = pieces.front().size();
  // Each piece between two "…" is taken where it first occurs: a later place never helps the rest.
  for (std::size_t k = 1; k + 1 < pieces.size(); ++k) {
    const std::size_t found = line.find(pieces[k], at + 1);
    if (found == std::string_view::npos) return false;
    at = found + pieces[k].size();
  }
  return line.size() >= at + 1 + pieces.back().size() && line.ends_with(pieces.back());
}

// The lines of a text as a window, a message box or a console shows it: broken at CR LF, CR or LF,
// without the blanks at their end; empty lines are left out.
inline std::vector<std::string> ShownLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  auto end_line = [&] {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    if (!line.empty()) lines.push_back(line);
    line.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      end_line();
    } else {
      line += c;
    }
  }
  end_line();
  return lines;
}

}  // namespace tarvik::test::guide
