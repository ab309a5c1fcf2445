// The tokens of the Jet SQL subset. Keywords are plain words; the parser recognises them without
// regard to letter case, so a bracketed name ([Order]) is never taken for one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/names.h"

namespace tarvik::archive::sql {

enum class TokenKind {
  Word,         // a plain name or keyword: letters, digits, underscore
  QuotedName,   // [a bracketed name], brackets removed
  Number,       // digits with an optional fraction and exponent
  String,       // 'text' or "text", quotes removed and doubled quotes undone
  Symbol,       // ( ) , . * ; = <> < <= > >= + - / & !
  End,
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;         // UTF-8
  std::size_t offset = 0;   // where the token starts in the statement
  std::size_t end = 0;      // one past its last character

  bool is_symbol(std::string_view s) const { return kind == TokenKind::Symbol && text == s; }
  // A plain word equal to `keyword` without regard to ASCII letter case.
  bool is_keyword(std::string_view keyword) const;
};

// Splits a statement into tokens, ending with one End token. Throws ArchiveError 3141 for a
// character that starts no token, an unterminated literal or bracketed name.
std::vector<Token> tokenize(std::string_view statement);

// Names and keywords match as same_name (common/names.h) says.
using tarvik::same_name;

}  // namespace tarvik::archive::sql
