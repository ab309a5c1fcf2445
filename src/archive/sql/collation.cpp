#include "archive/sql/collation.h"

#include <cstdint>
#include <string_view>

#include "archive/jet/page_source.h"
#include "archive/sql/collation_97.h"

namespace tarvik::archive::sql {

namespace {

// How one UTF-16 unit weighs: `primary` decides the order (0: the unit is set aside for the last
// level), `secondary` tells an accented letter from its base letter.
struct Weight {
  std::uint32_t primary = 0;
  std::uint16_t secondary = 0;
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

// ASCII punctuation and symbols in the order Windows sorts them.
constexpr std::string_view kAsciiSymbols = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";

constexpr std::uint32_t kSymbolBase = 0x100;
constexpr std::uint32_t kLatin1SymbolBase = 0x200;
constexpr std::uint32_t kPunctuationBase = 0x300;
constexpr std::uint32_t kDigitBase = 0x1000;
constexpr std::uint32_t kLetterBase = 0x2000;
constexpr std::uint32_t kOtherBase = 0x10000;

std::uint32_t letter(char base) { return kLetterBase + static_cast<std::uint32_t>(base - 'a'); }

// Lower case for the scripts beyond Latin-1 that have simple case pairs.
char16_t fold_other(char16_t c) {
  if (c >= 0x391 && c <= 0x3A9) return static_cast<char16_t>(c + 0x20);   // Greek
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);   // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  return c;
}

Weight weigh(char16_t c) {
  if (c == '-' || c == '\'' || c < 0x20 || (c >= 0x7F && c < 0xA0)) return {};
  if (c >= 'a' && c <= 'z') return {letter(static_cast<char>(c)), 0};
  if (c >= 'A' && c <= 'Z') return {letter(static_cast<char>(c - 'A' + 'a')), 0};
  if (c >= '0' && c <= '9') return {kDigitBase + (c - '0'), 0};
  if (c < 0x80) {
    const auto at = kAsciiSymbols.find(static_cast<char>(c));
    return {kSymbolBase + static_cast<std::uint32_t>(at), 0};
  }
  if (c >= 0xC0 && c < 0x180) {
    const Latin& l = kLatin[c - 0xC0];
    if (l.base != 0) return {letter(l.base), l.mark};
  }
  if (c < 0xC0 || c == 0xD7 || c == 0xF7) return {kLatin1SymbolBase + c, 0};
  if (c >= 0x2000 && c < 0x20D0) return {kPunctuationBase + (c - 0x2000), 0};
  return {kOtherBase + fold_other(c), 0};
}

// Walks the units of a text that carry a primary weight.
class Weighed {
 public:
  explicit Weighed(const Text& t) : t_(t) {}
  bool next(Weight& w) {
    while (i_ < t_.size()) {
      w = weigh(t_[i_++]);
      if (w.primary != 0) return true;
    }
    return false;
  }

 private:
  const Text& t_;
  std::size_t i_ = 0;
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
    if (a[i] != b[j]) return three_way(a[i], b[j]);
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
  // or an apostrophe is set aside by its code; every other one weighs as no other unit does), so
  // it stands as itself, a letter in lower case. Any other unit is an escape byte and its weights
  // (or, set aside, its code).
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
