#include "archive/sql/collation_97.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace tarvik::archive::sql {

namespace {

// How one UTF-16 unit weighs: up to two ranks (a letter Access spells as two, "æ" as "ae"), then
// its accent when it is a letter that can carry one (kUnaccented when it carries none). A unit
// with no rank and no accent is passed over.
struct Weight97 {
  std::array<std::uint32_t, 2> rank{};
  std::uint8_t accent = 0;
};

constexpr std::uint8_t kUnaccented = 2;
// The marks in the order Access 97 sorts them, from kUnaccented + 1.
constexpr std::array<char16_t, 8> kMarks = {0x300, 0x301, 0x302, 0x308, 0x303, 0x30A, 0x327, 0x30C};
// A unit beyond code page 1252 ranks after every character of it.
constexpr std::uint32_t kBeyondCodePage = 0x10000;

// Punctuation and symbols as they follow the blanks, each group weighing as one character.
constexpr std::u16string_view kSymbols[] = {
    u"!", u"\"\u201E\u201C\u201D\u00AB\u00BB", u"#", u"$", u"%", u"&", u"'\u201A\u2039\u2018\u2019\u203A",
    u"(", u")", u"*", u"+", u",", u"-\u2013\u2014\u00AD", u".", u"/", u":", u";", u"<", u"=", u">", u"?",
    u"@", u"[", u"\\", u"]", u"^", u"_", u"`", u"{", u"|", u"}", u"~", u"\u0192", u"\u2026", u"\u2020",
    u"\u2021", u"\u02C6", u"\u2030", u"\u2022", u"\u02DC", u"\u2122", u"\u00A1", u"\u00A2", u"\u00A3",
    u"\u00A4", u"\u00A5", u"\u00A6", u"\u00A7", u"\u00A8", u"\u00A9", u"\u00AA", u"\u00AC", u"\u00AE",
    u"\u00AF", u"\u00B0", u"\u00B1", u"\u00B4", u"\u00B5", u"\u00B6", u"\u00B7", u"\u00B8", u"\u00BA",
    u"\u00BC", u"\u00BD", u"\u00BE", u"\u00BF", u"\u00D7", u"\u00F7",
    u"0", u"1\u00B9", u"2\u00B2", u"3\u00B3", u"4", u"5", u"6", u"7", u"8", u"9"};

// The letters in their order, lower case.
constexpr std::u16string_view kLetters = u"abcd\u00F0efghijklmnopqrstuvwxyz\u00FE\u00F8";

// The accented letters of the code page, lower case: base letter and mark.
struct Accented {
  char16_t letter;
  char16_t base;
  char16_t mark;
};
constexpr Accented kAccented[] = {
    {0xE0, 'a', 0x300}, {0xE1, 'a', 0x301}, {0xE2, 'a', 0x302}, {0xE3, 'a', 0x303}, {0xE4, 'a', 0x308},
    {0xE5, 'a', 0x30A}, {0xE7, 'c', 0x327}, {0xE8, 'e', 0x300}, {0xE9, 'e', 0x301}, {0xEA, 'e', 0x302},
    {0xEB, 'e', 0x308}, {0xEC, 'i', 0x300}, {0xED, 'i', 0x301}, {0xEE, 'i', 0x302}, {0xEF, 'i', 0x308},
    {0xF1, 'n', 0x303}, {0xF2, 'o', 0x300}, {0xF3, 'o', 0x301}, {0xF4, 'o', 0x302}, {0xF5, 'o', 0x303},
    {0xF6, 'o', 0x308}, {0xF9, 'u', 0x300}, {0xFA, 'u', 0x301}, {0xFB, 'u', 0x302}, {0xFC, 'u', 0x308},
    {0xFD, 'y', 0x301}, {0xFF, 'y', 0x308}, {0x161, 's', 0x30C},
};

// Letters Access spells as two.
struct Spelled {
  char16_t letter;
  char16_t first;
  char16_t second;
};
constexpr Spelled kSpelled[] = {{0xE6, 'a', 'e'}, {0x153, 'o', 'e'}, {0xDF, 's', 's'}};

// Lower case of the code page's letters.
char16_t lower(char16_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 0x20);
  if (c == 0x160 || c == 0x152 || c == 0x17D) return static_cast<char16_t>(c + 1);
  if (c == 0x178) return 0xFF;
  return c;
}

// The weights of the code page's characters: Latin-1 by its code, the others of cp1252 apart.
class Table {
 public:
  Table() {
    std::uint32_t rank = 1;
    // Controls, the code page's holes, and what Access 97 predates (the euro, "ž") weigh alike.
    for (char16_t c = 1; c < 0xA0; ++c)
      if (c < 0x20 ? c != '\t' : c >= 0x7F) set(c, {{rank, 0}, 0});
    for (char16_t c : {u'\u20AC', u'\u017E'}) set(c, {{rank, 0}, 0});
    ++rank;
    for (char16_t c : std::u16string_view(u"\t \u00A0")) set(c, {{rank, 0}, 0});
    for (std::u16string_view group : kSymbols) {
      ++rank;
      for (char16_t c : group) set(c, {{rank, 0}, 0});
    }
    for (char16_t c : kLetters) set(c, {{++rank, 0}, 0});
    for (const Accented& a : kAccented) {
      set(a.base, {weigh(a.base).rank, kUnaccented});  // a letter that can carry an accent
      std::uint8_t accent = kUnaccented + 1;
      while (kMarks[accent - kUnaccented - 1] != a.mark) ++accent;
      set(a.letter, {weigh(a.base).rank, accent});
    }
    for (const Spelled& s : kSpelled) set(s.letter, {{weigh(s.first).rank[0], weigh(s.second).rank[0]}, weigh(s.first).accent});
  }

  Weight97 weigh(char16_t c) const {
    c = lower(c);
    if (c < latin_.size()) return latin_[c];
    for (const auto& [unit, weight] : others_)
      if (unit == c) return weight;
    return {{kBeyondCodePage + c, 0}, 0};
  }

 private:
  void set(char16_t c, Weight97 w) {
    if (c < latin_.size()) {
      latin_[c] = w;
      return;
    }
    for (auto& [unit, weight] : others_)
      if (unit == c || unit == 0) {
        unit = c;
        weight = w;
        return;
      }
  }

  std::array<Weight97, 0x100> latin_{};  // U+0000 weighs nothing
  std::array<std::pair<char16_t, Weight97>, 32> others_{};  // cp1252's 27 beyond Latin-1
};

const Table& table() {
  static const Table t;
  return t;
}

// Walks a text's ranks, then (a second walk) its accents.
class Walk {
 public:
  explicit Walk(const Text& t) : t_(t) {}
  bool next_rank(std::uint32_t& r) {
    while (true) {
      if (pending_ != 0) {
        r = pending_;
        pending_ = 0;
        return true;
      }
      if (i_ >= t_.size()) return false;
      const Weight97 w = table().weigh(t_[i_++]);
      pending_ = w.rank[1];
      if (w.rank[0] != 0) {
        r = w.rank[0];
        return true;
      }
    }
  }
  bool next_accent(std::uint8_t& a) {
    while (i_ < t_.size()) {
      a = table().weigh(t_[i_++]).accent;
      if (a != 0) return true;
    }
    return false;
  }

 private:
  const Text& t_;
  std::size_t i_ = 0;
  std::uint32_t pending_ = 0;
};

int three_way(std::uint32_t a, std::uint32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace

int compare_text_97(const Text& a, const Text& b) {
  {
    Walk x(a), y(b);
    std::uint32_t p = 0, q = 0;
    while (true) {
      const bool hp = x.next_rank(p), hq = y.next_rank(q);
      if (!hp || !hq) {
        if (hp != hq) return hp ? 1 : -1;
        break;
      }
      if (p != q) return three_way(p, q);
    }
  }
  // The accents, letter by letter; unaccented letters at the end count as none.
  Walk x(a), y(b);
  std::uint8_t p = 0, q = 0;
  while (true) {
    const bool hp = x.next_accent(p), hq = y.next_accent(q);
    if (!hp && !hq) return 0;
    if (hp && hq) {
      if (p != q) return three_way(p, q);
      continue;
    }
    Walk& rest = hp ? x : y;
    std::uint8_t r = hp ? p : q;
    do {
      if (r != kUnaccented) return hp ? 1 : -1;
    } while (rest.next_accent(r));
    return 0;
  }
}

void append_text_key_97(std::string& key, const Text& text) {
  // The ranks, a byte each (a unit beyond the code page: an escape byte and its code), then the
  // accents without the unaccented letters at the end, each part ended by a zero byte.
  constexpr char kEscape = static_cast<char>(0xFF);
  Walk ranks(text);
  std::uint32_t r = 0;
  while (ranks.next_rank(r)) {
    if (r < kBeyondCodePage) {
      key.push_back(static_cast<char>(r));
    } else {
      key.push_back(kEscape);
      key.push_back(static_cast<char>((r >> 8) & 0xFF));
      key.push_back(static_cast<char>(r & 0xFF));
    }
  }
  key.push_back(0);
  Walk accents(text);
  std::uint8_t a = 0;
  std::size_t kept = key.size();
  while (accents.next_accent(a)) {
    key.push_back(static_cast<char>(a));
    if (a != kUnaccented) kept = key.size();
  }
  key.resize(kept);
  key.push_back(0);
}

}  // namespace tarvik::archive::sql
