#include "archive/sql/lexer.h"

#include "archive/archive_error.h"

namespace tarvik::archive::sql {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Letters, digits, underscore, and every byte of a non-ASCII UTF-8 sequence (Jet allows accented
// letters in names).
bool is_word_char(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || is_digit(c) || c == '_' || u >= 0x80;
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string excerpt(std::string_view s, std::size_t at) { return std::string(s.substr(at, 20)); }

}  // namespace

bool Token::is_keyword(std::string_view keyword) const {
  return kind == TokenKind::Word && same_name(text, keyword);
}

std::vector<Token> tokenize(std::string_view s) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (true) {
    while (i < s.size() && is_space(s[i])) ++i;
    Token t;
    t.offset = i;
    if (i >= s.size()) {
      t.end = i;
      tokens.push_back(std::move(t));
      return tokens;
    }
    const char c = s[i];
    if (c == '[') {
      const std::size_t close = s.find(']', i + 1);
      if (close == std::string_view::npos) throw errors::select_syntax(excerpt(s, i));
      t.kind = TokenKind::QuotedName;
      t.text = std::string(s.substr(i + 1, close - i - 1));
      if (t.text.empty()) throw errors::select_syntax(excerpt(s, i));
      i = close + 1;
    } else if (c == '\'' || c == '"') {
      t.kind = TokenKind::String;
      std::size_t j = i + 1;
      while (true) {
        if (j >= s.size()) throw errors::select_syntax(excerpt(s, i));
        if (s[j] == c) {
          if (j + 1 < s.size() && s[j + 1] == c) {  // a doubled quote stands for one
            t.text.push_back(c);
            j += 2;
            continue;
          }
          break;
        }
        t.text.push_back(s[j++]);
      }
      i = j + 1;
    } else if (is_digit(c) || (c == '.' && i + 1 < s.size() && is_digit(s[i + 1]) &&
                               (tokens.empty() || tokens.back().kind != TokenKind::Word))) {
      t.kind = TokenKind::Number;
      std::size_t j = i;
      while (j < s.size() && is_digit(s[j])) ++j;
      if (j < s.size() && s[j] == '.') {
        ++j;
        while (j < s.size() && is_digit(s[j])) ++j;
      }
      if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
        std::size_t k = j + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
        if (k < s.size() && is_digit(s[k])) {
          while (k < s.size() && is_digit(s[k])) ++k;
          j = k;
        }
      }
      if (j < s.size() && is_word_char(s[j])) throw errors::select_syntax(excerpt(s, i));
      t.text = std::string(s.substr(i, j - i));
      i = j;
    } else if (is_word_char(c)) {
      t.kind = TokenKind::Word;
      std::size_t j = i;
      while (j < s.size() && is_word_char(s[j])) ++j;
      t.text = std::string(s.substr(i, j - i));
      i = j;
    } else {
      t.kind = TokenKind::Symbol;
      const std::string_view two = s.substr(i, 2);
      if (two == "<>" || two == "<=" || two == ">=") {
        t.text = std::string(two);
        i += 2;
      } else if (std::string_view("(),.*;=<>+-/&!").find(c) != std::string_view::npos) {
        t.text = std::string(1, c);
        ++i;
      } else {
        throw errors::select_syntax(excerpt(s, i));
      }
    }
    t.end = i;
    tokens.push_back(std::move(t));
  }
}

}  // namespace tarvik::archive::sql
