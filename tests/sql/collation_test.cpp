// Jet's General sort order and its comparison of values: the rules the joins, WHERE, GROUP BY,
// DISTINCT and ORDER BY share.
#include "archive/sql/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "archive/archive_error.h"
#include "archive/sql/compare.h"
#include "common/utf8.h"

namespace tarvik::archive::sql {
namespace {

Text t(const char* s) { return utf8_to_utf16(s); }

std::string key(const Value& v) {
  std::string k;
  append_key(k, v);
  return k;
}

TEST(Collation, LetterCaseNeverMatters) {
  EXPECT_EQ(compare_text(t("Rossi S.r.l."), t("ROSSI s.R.L.")), 0);
  EXPECT_EQ(compare_text(t("perché"), t("PERCHÉ")), 0);
  EXPECT_EQ(compare_text(t("Ærø"), t("ærØ")), 0);
  EXPECT_EQ(key(Value::text(t("fa"))), key(Value::text(t("FA"))));
}

TEST(Collation, AccentsFollowTheirBaseLetterAndStillDiffer) {
  EXPECT_LT(compare_text(t("cote"), t("côte")), 0);
  EXPECT_LT(compare_text(t("côte"), t("cotf")), 0);  // the letters decide before the accent
  EXPECT_LT(compare_text(t("a"), t("à")), 0);
  EXPECT_LT(compare_text(t("à"), t("b")), 0);
  EXPECT_NE(key(Value::text(t("e"))), key(Value::text(t("é"))));
}

TEST(Collation, SymbolsBeforeDigitsBeforeLetters) {
  std::vector<Text> texts = {t("FA"), t("F_"), t("B_"), t("1"), t("BA"), t(" x"), t("9"), t("_")};
  std::stable_sort(texts.begin(), texts.end(), [](const Text& a, const Text& b) { return compare_text(a, b) < 0; });
  const std::vector<Text> expected = {t(" x"), t("_"), t("1"), t("9"), t("B_"), t("BA"), t("F_"), t("FA")};
  EXPECT_EQ(texts, expected);
}

TEST(Collation, HyphenAndApostropheDoNotMoveATextButMakeItDifferent) {
  EXPECT_GT(compare_text(t("co-op"), t("coop")), 0);
  EXPECT_LT(compare_text(t("co-op"), t("coopa")), 0);
  EXPECT_LT(compare_text(t("l'acqua"), t("lago")), 0);
  EXPECT_NE(key(Value::text(t("co-op"))), key(Value::text(t("coop"))));
}

TEST(Collation, PrefixSortsFirstAndBlanksCount) {
  EXPECT_LT(compare_text(t(""), t(" ")), 0);
  EXPECT_LT(compare_text(t("Ab"), t("abc")), 0);
  EXPECT_NE(compare_text(t("A "), t("A")), 0);
}

TEST(Collation, KeysAreEqualExactlyWhenTextsCompareEqual) {
  const std::vector<const char*> samples = {"", " ", "a", "A", "à", "À", "co-op", "coop", "CO-OP", "l'a", "la",
                                           "F_", "f_", "FA", "x\ty", "x y", "ß", "ss", "Ω", "ω", "€", "Ж", "ж"};
  for (const char* a : samples) {
    for (const char* b : samples) {
      const bool same_key = key(Value::text(t(a))) == key(Value::text(t(b)));
      EXPECT_EQ(same_key, compare_text(t(a), t(b)) == 0) << a << " / " << b;
      EXPECT_EQ(compare_text(t(a), t(b)), -compare_text(t(b), t(a))) << a << " / " << b;
    }
  }
}

// Random texts over units of every kind the key treats apart (letters of both cases, digits,
// ASCII symbols, hyphens and apostrophes, controls, accented and other letters, symbols beyond
// ASCII): two texts have one key exactly when they compare equal, alone and inside a composite key.
TEST(Collation, RandomTextsHaveOneKeyExactlyWhenEqual) {
  const std::u16string units = u"aAbBzZ09 _~-'\t\x7f\x81" u"\u00e0\u00c0\u00df\u017f\u00d7\u03a9\u03c9\u2013\u20ac\u0416\u0436";
  std::uint64_t state = 12345;
  auto random = [&state](std::size_t n) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>((state >> 33) % n);
  };
  auto random_text = [&] {
    Text text(random(4), u'a');
    for (char16_t& c : text) c = units[random(units.size())];
    return text;
  };
  int equal_pairs = 0;
  for (int i = 0; i < 200000; ++i) {
    const Text a = random_text(), b = random_text(), c = random_text();
    const bool equal = compare_text(a, b) == 0;
    equal_pairs += equal;
    ASSERT_EQ(key(Value::text(a)) == key(Value::text(b)), equal) << i;
    std::string ac, bc;
    for (const Text* t : {&a, &c}) append_key(ac, Value::text(*t));
    for (const Text* t : {&b, &c}) append_key(bc, Value::text(*t));
    ASSERT_EQ(ac == bc, equal) << i;
  }
  EXPECT_GT(equal_pairs, 1000);  // the case pairs and the empty text make many
}

// A whole number's key holds only the bytes it needs: numbers at every byte edge, of either sign,
// keep keys apart, alone and followed by another value. (Each is exact as a double.)
TEST(Compare, WholeNumberKeysStayApartAtEveryByteEdge) {
  std::vector<double> numbers = {0, 1, -1, 0x1p62, -0x1p62, -0x1p63, 0x1p55, 0x1p55 + 8};
  for (int bits = 7; bits < 53; bits += 8) {
    for (double edge : {std::ldexp(1.0, bits), -std::ldexp(1.0, bits)})
      for (double d : {-1.0, 0.0, 1.0}) numbers.push_back(edge + d);
  }
  for (double a : numbers) {
    for (double b : numbers) {
      ASSERT_EQ(key(Value::double_(a)) == key(Value::double_(b)), a == b) << a << " / " << b;
      std::string ax, bx;
      for (const Value& v : {Value::double_(a), Value::text(t("x"))}) append_key(ax, v);
      for (const Value& v : {Value::double_(b), Value::text(t("x"))}) append_key(bx, v);
      ASSERT_EQ(ax == bx, a == b) << a << " / " << b;
    }
  }
  EXPECT_EQ(key(Value::long_(-129)), key(Value::double_(-129.0)));
  EXPECT_EQ(key(Value::currency({-1290000})), key(Value::integer(-129)));
  EXPECT_NE(key(Value::long_(255)), key(Value::long_(-1)));
}

TEST(Compare, NumbersCompareByValueWhateverTheirWidth) {
  EXPECT_EQ(compare_values(Value::byte(7), Value::long_(7)), 0);
  EXPECT_EQ(compare_values(Value::integer(-3), Value::double_(-3.0)), 0);
  EXPECT_LT(compare_values(Value::integer(-3), Value::single(-2.5f)), 0);
  EXPECT_EQ(compare_values(Value::currency({125000}), Value::double_(12.5)), 0);
  EXPECT_EQ(compare_values(Value::currency({120000}), Value::long_(12)), 0);
  EXPECT_GT(compare_values(Value::currency({120001}), Value::long_(12)), 0);
  EXPECT_EQ(compare_values(Value::boolean(true), Value::integer(-1)), 0);
  EXPECT_LT(compare_values(Value::boolean(true), Value::boolean(false)), 0);
  EXPECT_EQ(compare_values(Value::datetime({45000.0}), Value::long_(45000)), 0);
  EXPECT_EQ(key(Value::byte(7)), key(Value::long_(7)));
  EXPECT_EQ(key(Value::currency({125000})), key(Value::double_(12.5)));
  EXPECT_EQ(key(Value::integer(0)), key(Value::double_(-0.0)));
  EXPECT_NE(key(Value::long_(1)), key(Value::text(t("1"))));
}

TEST(Compare, TextAgainstANumberIsATypeMismatch) {
  try {
    compare_values(Value::text(t("1")), Value::long_(1));
    FAIL();
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.number(), 3464);
  }
  EXPECT_FALSE(comparable(Category::Text, Category::Number));
  EXPECT_TRUE(comparable(Category::Null, Category::Text));
  EXPECT_FALSE(comparable(Category::Binary, Category::Binary));
}

TEST(Compare, SortPutsNullsFirst) {
  EXPECT_LT(compare_for_sort(Value(), Value::long_(-100)), 0);
  EXPECT_LT(compare_for_sort(Value(), Value::text(t(""))), 0);
  EXPECT_EQ(compare_for_sort(Value(), Value()), 0);
  EXPECT_NE(key(Value()), key(Value::text(t(""))));
}

}  // namespace
}  // namespace tarvik::archive::sql
