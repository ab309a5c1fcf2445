#include "archive/sql/collation.h"

#include <array>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <tuple>

#include "archive/jet/page_source.h"
#include "archive/sql/collation_97.h"

namespace tarvik::archive::sql {

namespace {

// How one UTF-16 unit weighs: `primary` decides the order (0: the unit is set aside for the last
// level), `secondary` tells an accented letter from its base letter, `then` is the second letter
// of a letter spelled as two ("æ" as "ae").
struct Weight {
  std::uint32_t primary = 0;
  std::uint16_t secondary = 0;
  std::uint32_t then = 0;
};

// Base letter and diacritic of U+00C0..U+017F (0 base: not a letter).
struct Latin {
  char base;
  std::uint16_t mark;
};
constexpr Latin kLatin[] = {
    {'a', 0x300}, {'a', 0x301}, {'a', 0x302}, {'a', 0x303}, {'a', 0x308}, {'a', 0x30A},
    {'a', 0x1E6}, {'c', 0x327}, {'e', 0x300}, {'e', 0x301}, {'e', 0x302}, {'e', 0x308},
    {'i', 0x300}, {'i', 0x301}, {'i', 0x302}, {'i', 0x308}, {'d', 0x110}, {'n', 0x303},
    {'o', 0x300}, {'o', 0x301}, {'o', 0x302}, {'o', 0x303}, {'o', 0x308}, {0, 0},
    {'o', 0x338}, {'u', 0x300}, {'u', 0x301}, {'u', 0x302}, {'u', 0x308}, {'y', 0x301},
    {'t', 0x0FE}, {'s', 0x0DF}, {'a', 0x300}, {'a', 0x301}, {'a', 0x302}, {'a', 0x303},
    {'a', 0x308}, {'a', 0x30A}, {'a', 0x1E6}, {'c', 0x327}, {'e', 0x300}, {'e', 0x301},
    {'e', 0x302}, {'e', 0x308}, {'i', 0x300}, {'i', 0x301}, {'i', 0x302}, {'i', 0x308},
    {'d', 0x110}, {'n', 0x303}, {'o', 0x300}, {'o', 0x301}, {'o', 0x302}, {'o', 0x303},
    {'o', 0x308}, {0, 0},       {'o', 0x338}, {'u', 0x300}, {'u', 0x301}, {'u', 0x302},
    {'u', 0x308}, {'y', 0x301}, {'t', 0x0FE}, {'y', 0x308}, {'a', 0x304}, {'a', 0x304},
    {'a', 0x306}, {'a', 0x306}, {'a', 0x328}, {'a', 0x328}, {'c', 0x301}, {'c', 0x301},
    {'c', 0x302}, {'c', 0x302}, {'c', 0x307}, {'c', 0x307}, {'c', 0x30C}, {'c', 0x30C},
    {'d', 0x30C}, {'d', 0x30C}, {'d', 0x111}, {'d', 0x111}, {'e', 0x304}, {'e', 0x304},
    {'e', 0x306}, {'e', 0x306}, {'e', 0x307}, {'e', 0x307}, {'e', 0x328}, {'e', 0x328},
    {'e', 0x30C}, {'e', 0x30C}, {'g', 0x302}, {'g', 0x302}, {'g', 0x306}, {'g', 0x306},
    {'g', 0x307}, {'g', 0x307}, {'g', 0x327}, {'g', 0x327}, {'h', 0x302}, {'h', 0x302},
    {'h', 0x127}, {'h', 0x127}, {'i', 0x303}, {'i', 0x303}, {'i', 0x304}, {'i', 0x304},
    {'i', 0x306}, {'i', 0x306}, {'i', 0x328}, {'i', 0x328}, {'i', 0x307}, {'i', 0x131},
    {'i', 0x133}, {'i', 0x133}, {'j', 0x302}, {'j', 0x302}, {'k', 0x327}, {'k', 0x327},
    {'k', 0x138}, {'l', 0x301}, {'l', 0x301}, {'l', 0x327}, {'l', 0x327}, {'l', 0x30C},
    {'l', 0x30C}, {'l', 0x140}, {'l', 0x140}, {'l', 0x142}, {'l', 0x142}, {'n', 0x301},
    {'n', 0x301}, {'n', 0x327}, {'n', 0x327}, {'n', 0x30C}, {'n', 0x30C}, {'n', 0x149},
    {'n', 0x14B}, {'n', 0x14B}, {'o', 0x304}, {'o', 0x304}, {'o', 0x306}, {'o', 0x306},
    {'o', 0x30B}, {'o', 0x30B}, {'o', 0x153}, {'o', 0x153}, {'r', 0x301}, {'r', 0x301},
    {'r', 0x327}, {'r', 0x327}, {'r', 0x30C}, {'r', 0x30C}, {'s', 0x301}, {'s', 0x301},
    {'s', 0x302}, {'s', 0x302}, {'s', 0x327}, {'s', 0x327}, {'s', 0x30C}, {'s', 0x30C},
    {'t', 0x327}, {'t', 0x327}, {'t', 0x30C}, {'t', 0x30C}, {'t', 0x167}, {'t', 0x167},
    {'u', 0x303}, {'u', 0x303}, {'u', 0x304}, {'u', 0x304}, {'u', 0x306}, {'u', 0x306},
    {'u', 0x30A}, {'u', 0x30A}, {'u', 0x30B}, {'u', 0x30B}, {'u', 0x328}, {'u', 0x328},
    {'w', 0x302}, {'w', 0x302}, {'y', 0x302}, {'y', 0x302}, {'y', 0x308}, {'z', 0x301},
    {'z', 0x301}, {'z', 0x307}, {'z', 0x307}, {'z', 0x30C}, {'z', 0x30C}, {'s', 0x17F},
};
static_assert(sizeof(kLatin) / sizeof(kLatin[0]) == 0x180 - 0xC0);

constexpr std::uint32_t kSymbolBase = 0x100;
constexpr std::uint32_t kPunctuationBase = 0x300;
constexpr std::uint32_t kDigitBase = 0x1000;
constexpr std::uint32_t kLetterBase = 0x2000;
constexpr std::uint32_t kOtherBase = 0x10000;

// What Access 2000's own indexes show of Latin-1 (an index entry holding every character from
// U+0001 to U+00FF, in the corpus): blanks and the other control characters of a line, then
// punctuation and symbols, in this order.
constexpr std::u16string_view kSymbols =
    u" \u00A0\t\n\v\f\r!\"#$%&()*,./:;?@[\\]^_`{|}~\u00A1\u00A6\u00A8\u00AF\u00B4\u00B8\u00BF+<=>\u00B1\u00AB"
    u"\u00BB\u00D7\u00F7\u00A2\u00A3\u00A4\u00A5\u00A7\u00A9\u00AC\u00AE\u00B0\u00B5\u00B6\u00B7";
// The digits, the fractions between 0 and 1, the superscript digits as their digits.
constexpr std::u16string_view kDigits[] = {u"0", u"\u00BC", u"\u00BD", u"\u00BE", u"1\u00B9", u"2\u00B2",
                                           u"3\u00B3", u"4", u"5", u"6", u"7", u"8", u"9"};
// The marks in the order they sort, after an ordinal letter (ª, º), itself after the plain one.
constexpr char16_t kMarks[] = {0x301, 0x300, 0x302, 0x308, 0x303, 0x30A, 0x327, 0x338, 0x110};
constexpr std::uint16_t kOrdinal = 1;

constexpr std::uint32_t letter(char16_t base) { return kLetterBase + static_cast<std::uint32_t>(base - 'a'); }

constexpr std::uint16_t mark_rank(std::uint16_t mark) {
  for (std::size_t i = 0; i < std::size(kMarks); ++i)
    if (kMarks[i] == mark) return static_cast<std::uint16_t>(kOrdinal + 1 + i);
  return static_cast<std::uint16_t>(0x100 + mark);  // marks Latin-1 lacks, after its own
}

// Latin-1's weights; the units set aside (control characters, the apostrophe, the hyphen, the
// soft hyphen) weigh nothing. `spelled`: the ASCII letters or digit the unit weighs as exactly.
struct Latin1Weight {
  Weight weight;
  char spelled[2] = {0, 0};
};

constexpr std::array<Latin1Weight, 0x100> kLatin1 = [] {
  std::array<Latin1Weight, 0x100> t{};
  auto spell = [&t](char16_t c, char a, char b) {
    t[c].spelled[0] = a;
    t[c].spelled[1] = b;
  };
  for (std::size_t i = 0; i < kSymbols.size(); ++i) t[kSymbols[i]].weight = {kSymbolBase + std::uint32_t(i), 0, 0};
  for (std::size_t i = 0; i < std::size(kDigits); ++i) {
    for (char16_t c : kDigits[i]) t[c].weight = {kDigitBase + std::uint32_t(i), 0, 0};
    if (kDigits[i].size() == 2) spell(kDigits[i][1], static_cast<char>(kDigits[i][0]), 0);  // a superscript
  }
  for (char16_t c = 'a'; c <= 'z'; ++c) t[c].weight = t[c - 'a' + 'A'].weight = {letter(c), 0, 0};
  for (char16_t c = 0xC0; c < 0x100; ++c)
    if (const Latin& l = kLatin[c - 0xC0]; l.base != 0) t[c].weight = {letter(l.base), mark_rank(l.mark), 0};
  t[0xAA].weight = {letter('a'), kOrdinal, 0};
  t[0xBA].weight = {letter('o'), kOrdinal, 0};
  // Letters Access spells as two.
  for (auto [upper, lower, a, b] : {std::tuple{0xC6, 0xE6, 'a', 'e'}, std::tuple{0xDE, 0xFE, 't', 'h'},
                                    std::tuple{0xDF, 0xDF, 's', 's'}}) {
    for (char16_t c : {char16_t(upper), char16_t(lower)}) {
      t[c].weight = {letter(a), 0, letter(b)};
      spell(c, a, b);
    }
  }
  return t;
}();

// Lower case for the scripts beyond Latin-1 that have simple case pairs.
char16_t fold_other(char16_t c) {
  if (c >= 0x391 && c <= 0x3A9) return static_cast<char16_t>(c + 0x20);   // Greek
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);   // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  return c;
}

Weight weigh(char16_t c) {
  if (c < 0x100) return kLatin1[c].weight;
  if (c < 0x180) {
    const Latin& l = kLatin[c - 0xC0];
    if (l.base != 0) return {letter(l.base), mark_rank(l.mark), 0};
  }
  if (c >= 0x2000 && c < 0x20D0) return {kPunctuationBase + (c - 0x2000), 0, 0};
  return {kOtherBase + fold_other(c), 0, 0};
}

// Where a set-aside unit sorts among others at the same place: control characters by their
// code, then the apostrophe, the hyphen, the soft hyphen.
std::uint32_t aside_rank(char16_t c) {
  switch (c) {
    case '\'': return 0x100;
    case '-': return 0x102;
    case 0xAD: return 0x103;
    default: return c;
  }
}

// Walks the letters and other weighed units of a text, a letter spelled as two as two.
class Weighed {
 public:
  explicit Weighed(const Text& t) : t_(t) {}
  bool next(Weight& w) {
    if (then_ != 0) {
      w = {then_, 0, 0};
      then_ = 0;
      return true;
    }
    while (i_ < t_.size()) {
      w = weigh(t_[i_++]);
      if (w.primary != 0) {
        then_ = w.then;
        return true;
      }
    }
    return false;
  }

 private:
  const Text& t_;
  std::size_t i_ = 0;
  std::uint32_t then_ = 0;
};

template <typename T>
int three_way(T a, T b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

TextOrder text_order_of(const jet::DatabaseHeader& header) {
  return header.format->jet3 ? TextOrder::General97 : TextOrder::General;
}

int compare_text(const Text& a, const Text& b, TextOrder order) {
  if (order == TextOrder::General97) return compare_text_97(a, b);
  // First the letters themselves, then their accents, then the set-aside units in place.
  for (int level = 0; level < 2; ++level) {
    Weighed wa(a), wb(b);
    Weight x, y;
    while (true) {
      const bool has_a = wa.next(x);
      const bool has_b = wb.next(y);
      if (!has_a || !has_b) {
        if (has_a != has_b) return has_a ? 1 : -1;
        break;
      }
      const int c = level == 0 ? three_way(x.primary, y.primary) : three_way(x.secondary, y.secondary);
      if (c != 0) return c;
    }
  }
  std::size_t i = 0, j = 0;
  while (true) {
    while (i < a.size() && weigh(a[i]).primary != 0) ++i;
    while (j < b.size() && weigh(b[j]).primary != 0) ++j;
    if (i >= a.size() || j >= b.size()) return three_way(i < a.size(), j < b.size());
    if (i != j) return i < j ? -1 : 1;
    if (a[i] != b[j]) return three_way(aside_rank(a[i]), aside_rank(b[j]));
    ++i;
    ++j;
  }
}

void append_text_key(std::string& key, const Text& text, TextOrder order) {
  if (order == TextOrder::General97) {
    append_text_key_97(key, text);
    return;
  }
  // A key is made for every row a join reads, and kept for every row of a joined table: most units
  // of a code or a name take one byte. A printable ASCII unit is told by its code alone (a hyphen
  // or an apostrophe is set aside by its code), so it stands as itself, a letter in lower case, and
  // so does a unit that weighs as ASCII letters or a digit ("æ" as "ae", "¹" as "1"). Any other unit
  // is an escape byte and its weights (or, set aside, its code).
  const std::size_t start = key.size();
  key.resize(start + 6 * text.size() + 1);
  char* at = key.data() + start;
  auto put = [&at](std::uint32_t v, int bytes) {
    for (int k = bytes - 1; k >= 0; --k) *at++ = static_cast<char>((v >> (8 * k)) & 0xFF);
  };
  for (char16_t c : text) {
    if (c >= 'A' && c <= 'Z') {
      *at++ = static_cast<char>(c - 'A' + 'a');
    } else if (c >= 0x20 && c < 0x7F) {
      *at++ = static_cast<char>(c);
    } else if (c < 0x100 && kLatin1[c].spelled[0] != 0) {
      for (char s : kLatin1[c].spelled)
        if (s != 0) *at++ = s;
    } else if (const Weight w = weigh(c); w.primary != 0) {
      *at++ = 1;
      put(w.primary, 3);
      put(w.secondary, 2);
    } else {
      *at++ = 2;  // a set-aside unit keeps its place and its code
      put(c, 2);
    }
  }
  *at++ = 0;  // ends the text inside a composite key: no unit begins with it
  key.resize(static_cast<std::size_t>(at - key.data()));
}

}  // namespace tarvik::archive::sql
