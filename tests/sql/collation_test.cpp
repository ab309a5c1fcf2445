// Jet's General sort orders (Access 2000's and Access 97's) and its comparison of values: the rules
// the joins, WHERE, GROUP BY, DISTINCT and ORDER BY share.
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

constexpr TextOrder kGeneral = TextOrder::General;
constexpr TextOrder k97 = TextOrder::General97;

Text t(const char* s) { return utf8_to_utf16(s); }

std::string key(const Value& v, TextOrder order = kGeneral) {
  std::string k;
  append_key(k, v, order);
  return k;
}

TEST(Collation, LetterCaseNeverMatters) {
  EXPECT_EQ(compare_text(t("Rossi S.r.l."), t("ROSSI s.R.L."), kGeneral), 0);
  EXPECT_EQ(compare_text(t("perché"), t("PERCHÉ"), kGeneral), 0);
  EXPECT_EQ(compare_text(t("Ærø"), t("ærØ"), kGeneral), 0);
  EXPECT_EQ(key(Value::text(t("fa"))), key(Value::text(t("FA"))));
}

TEST(Collation, AccentsFollowTheirBaseLetterAndStillDiffer) {
  EXPECT_LT(compare_text(t("cote"), t("côte"), kGeneral), 0);
  EXPECT_LT(compare_text(t("côte"), t("cotf"), kGeneral), 0);  // the letters decide before the accent
  EXPECT_LT(compare_text(t("a"), t("à"), kGeneral), 0);
  EXPECT_LT(compare_text(t("à"), t("b"), kGeneral), 0);
  EXPECT_NE(key(Value::text(t("e"))), key(Value::text(t("é"))));
}

TEST(Collation, SymbolsBeforeDigitsBeforeLetters) {
  std::vector<Text> texts = {t("FA"), t("F_"), t("B_"), t("1"), t("BA"), t(" x"), t("9"), t("_")};
  std::stable_sort(texts.begin(), texts.end(), [](const Text& a, const Text& b) { return compare_text(a, b, kGeneral) < 0; });
  const std::vector<Text> expected = {t(" x"), t("_"), t("1"), t("9"), t("B_"), t("BA"), t("F_"), t("FA")};
  EXPECT_EQ(texts, expected);
}

TEST(Collation, HyphenAndApostropheDoNotMoveATextButMakeItDifferent) {
  EXPECT_GT(compare_text(t("co-op"), t("coop"), kGeneral), 0);
  EXPECT_LT(compare_text(t("co-op"), t("coopa"), kGeneral), 0);
  EXPECT_LT(compare_text(t("l'acqua"), t("lago"), kGeneral), 0);
  EXPECT_NE(key(Value::text(t("co-op"))), key(Value::text(t("coop"))));
}

TEST(Collation, PrefixSortsFirstAndBlanksCount) {
  EXPECT_LT(compare_text(t(""), t(" "), kGeneral), 0);
  EXPECT_LT(compare_text(t("Ab"), t("abc"), kGeneral), 0);
  EXPECT_NE(compare_text(t("A "), t("A"), kGeneral), 0);
}

// Sorted by the engine's order: each text before the next, none equal.
void expect_sorted(const std::vector<const char*>& texts, TextOrder order) {
  for (std::size_t i = 1; i < texts.size(); ++i)
    EXPECT_LT(compare_text(t(texts[i - 1]), t(texts[i]), order), 0) << texts[i - 1] << " / " << texts[i];
}

// What the corpus's index entry of every character from U+0001 to U+00FF (testUnicodeCompV2003)
// shows of Access 2000's order.
TEST(Collation, LatinOneAsAccessIndexesIt) {
  expect_sorted({"a b", "a\u00a0b", "a\tb", "a\nb", "a\vb", "a\fb", "a\rb", "a!b"}, kGeneral);
  expect_sorted({"~", "¡", "¦", "¿", "+", "<", ">", "±", "«", "×", "÷", "¢", "¥", "©", "°", "·", "0", "¼", "¾", "1", "9",
                 "a"},
                kGeneral);
  expect_sorted({"a", "ª", "á", "à", "â", "ä", "ã", "å", "b"}, kGeneral);
  expect_sorted({"o", "º", "ó", "ò", "ô", "ö", "õ", "ø", "p"}, kGeneral);
  expect_sorted({"d", "ð", "e", "é", "è", "ê", "ë", "f"}, kGeneral);
  EXPECT_EQ(compare_text(t("x¹²³"), t("X123"), kGeneral), 0);
  EXPECT_EQ(compare_text(t("Æble"), t("aeble"), kGeneral), 0);
  EXPECT_EQ(compare_text(t("Þorn"), t("THORN"), kGeneral), 0);
  EXPECT_EQ(compare_text(t("Straße"), t("strasse"), kGeneral), 0);
  // Set aside as the hyphen is: the soft hyphen, and the controls before the apostrophe.
  expect_sorted({"coop", "co\u00adop", "coopa"}, kGeneral);
  expect_sorted({"a\x7f" "b", "a'b", "a-b"}, kGeneral);
}

// Every pair of samples: one key exactly when the texts compare equal, and the order antisymmetric.
void keys_are_equal_exactly_when_texts_compare_equal(TextOrder order, const std::vector<const char*>& samples) {
  for (const char* a : samples) {
    for (const char* b : samples) {
      const bool same_key = key(Value::text(t(a)), order) == key(Value::text(t(b)), order);
      EXPECT_EQ(same_key, compare_text(t(a), t(b), order) == 0) << a << " / " << b;
      EXPECT_EQ(compare_text(t(a), t(b), order), -compare_text(t(b), t(a), order)) << a << " / " << b;
    }
  }
}

TEST(Collation, KeysAreEqualExactlyWhenTextsCompareEqual) {
  keys_are_equal_exactly_when_texts_compare_equal(
      kGeneral, {"", " ", "a", "A", "à", "À", "co-op", "coop", "CO-OP", "l'a", "la", "F_", "f_", "FA", "x\ty",
                 "x y", "ß", "ss", "Ω", "ω", "€", "Ж", "ж"});
  keys_are_equal_exactly_when_texts_compare_equal(
      k97, {"", " ", "a", "A", "à", "À", "co-op", "co–op", "coop", "l'a", "l’a", "la", "x\ty", "x y", "ß", "ss",
            "SS", "æ", "ae", "Œ", "oe", "¹", "1", "\x01", "€", "Ž", "Ж", "ж", "ø", "þ", "ð", "d"});
}

// Random texts over units of every kind the key treats apart: two texts have one key exactly when
// they compare equal, alone and inside a composite key.
void random_texts_have_one_key_exactly_when_equal(TextOrder order, const std::u16string& units) {
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
    const bool equal = compare_text(a, b, order) == 0;
    equal_pairs += equal;
    ASSERT_EQ(key(Value::text(a), order) == key(Value::text(b), order), equal) << i;
    std::string ac, bc;
    for (const Text* t : {&a, &c}) append_key(ac, Value::text(*t), order);
    for (const Text* t : {&b, &c}) append_key(bc, Value::text(*t), order);
    ASSERT_EQ(ac == bc, equal) << i;
  }
  EXPECT_GT(equal_pairs, 1000);  // the case pairs and the empty text make many
}

// Letters of both cases, digits, ASCII symbols, hyphens and apostrophes, controls, accented and
// other letters, symbols beyond ASCII.
TEST(Collation, RandomTextsHaveOneKeyExactlyWhenEqual) {
  random_texts_have_one_key_exactly_when_equal(
      kGeneral, u"aAbBzZ09 _~-'\t\x7f\x81" u"\u00e0\u00c0\u00df\u017f\u00d7\u03a9\u03c9\u2013\u20ac\u0416\u0436"
                u"sSeE1\u00b9\u00e6\u00aa\u00ad\u00a0");
}

// Besides: letters Access 97 spells as two, blanks, dashes and quotes that weigh alike, characters
// beyond its code page.
TEST(Collation97, RandomTextsHaveOneKeyExactlyWhenEqual) {
  random_texts_have_one_key_exactly_when_equal(
      k97, u"aAsSeE19 _~-'\t\x01\x7f\x81" u"\u00e0\u00c0\u00e4\u00e3\u00df\u00e6\u0153\u00b9\u00a0\u2013"
           u"\u2019\u20ac\u00f8\u0416\u0436");
}

// What the indexes of the corpus's Access 97 archives show (testIndexCodesV1997, nwind), where
// Access 2000's order differs.
TEST(Collation97, PunctuationSortsByItsCodeAndCountsLikeAnyCharacter) {
  std::vector<Text> texts = {t("a"), t("1"), t("×"), t("¡"), t("~"), t("-"), t(","), t("+"), t("'"), t("#"),
                             t("\""), t("!"), t(" x")};
  std::stable_sort(texts.begin(), texts.end(), [](const Text& a, const Text& b) { return compare_text(a, b, k97) < 0; });
  const std::vector<Text> expected = {t(" x"), t("!"), t("\""), t("#"), t("'"), t("+"), t(","), t("-"), t("~"),
                                      t("¡"), t("×"), t("1"), t("a")};
  EXPECT_EQ(texts, expected);
  EXPECT_LT(compare_text(t("co-op"), t("coop"), k97), 0);
  EXPECT_GT(compare_text(t("co-op"), t("coop"), kGeneral), 0);
  EXPECT_LT(compare_text(t("B's Beverages"), t("Berglunds snabbköp"), k97), 0);
  EXPECT_GT(compare_text(t("B's Beverages"), t("Berglunds snabbköp"), kGeneral), 0);
  EXPECT_LT(compare_text(t("G'day, Mate"), t("Gai pâturage"), k97), 0);
}

TEST(Collation97, OwnLettersAfterZAndLigaturesSpelledOut) {
  EXPECT_LT(compare_text(t("Köln"), t("København"), k97), 0);
  EXPECT_GT(compare_text(t("Köln"), t("København"), kGeneral), 0);
  EXPECT_LT(compare_text(t("Rössle Sauerkraut"), t("Røgede sild"), k97), 0);
  EXPECT_LT(compare_text(t("dz"), t("ða"), k97), 0);
  EXPECT_LT(compare_text(t("ðz"), t("ea"), k97), 0);
  EXPECT_LT(compare_text(t("zz"), t("þa"), k97), 0);
  EXPECT_LT(compare_text(t("þz"), t("øa"), k97), 0);
  EXPECT_EQ(compare_text(t("Straße"), t("STRASSE"), k97), 0);
  EXPECT_EQ(compare_text(t("Æble"), t("aeble"), k97), 0);
  EXPECT_EQ(compare_text(t("œuvre"), t("OEUVRE"), k97), 0);
}

TEST(Collation97, CharactersThatWeighAlike) {
  for (const char* same : {"a-b", "a–b", "a—b", "a\u00adb"}) EXPECT_EQ(compare_text(t("a-b"), t(same), k97), 0) << same;
  for (const char* same : {"\"x\"", "„x“", "«x»"}) EXPECT_EQ(compare_text(t("\"x\""), t(same), k97), 0) << same;
  for (const char* same : {"l'a", "l’a", "l‘a"}) EXPECT_EQ(compare_text(t("l'a"), t(same), k97), 0) << same;
  for (const char* same : {"a b", "a\tb", "a\u00a0b"}) EXPECT_EQ(compare_text(t("a b"), t(same), k97), 0) << same;
  for (const char* same : {"a\x01" "b", "a\x1f" "b", "a\x7f" "b", "a€b", "aŽb"})
    EXPECT_EQ(compare_text(t("a\x01" "b"), t(same), k97), 0) << same;
  EXPECT_LT(compare_text(t("a\x01" "b"), t("a b"), k97), 0);  // controls first
  EXPECT_EQ(compare_text(t("x¹²³"), t("X123"), k97), 0);
}

TEST(Collation97, AccentsDecideOnlyBetweenLikeLettersAndInTheirOwnOrder) {
  EXPECT_LT(compare_text(t("cote"), t("côte"), k97), 0);
  EXPECT_LT(compare_text(t("côte"), t("cotf"), k97), 0);
  EXPECT_LT(compare_text(t("aé"), t("àe"), k97), 0);  // the first accent met decides
  EXPECT_LT(compare_text(t("à"), t("á"), k97), 0);  // Access 97 puts the grave accent first
  EXPECT_GT(compare_text(t("à"), t("á"), kGeneral), 0);
  EXPECT_LT(compare_text(t("ä"), t("ã"), k97), 0);
  EXPECT_EQ(compare_text(t("ÀÉ"), t("àé"), k97), 0);
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
      for (const Value& v : {Value::double_(a), Value::text(t("x"))}) append_key(ax, v, kGeneral);
      for (const Value& v : {Value::double_(b), Value::text(t("x"))}) append_key(bx, v, kGeneral);
      ASSERT_EQ(ax == bx, a == b) << a << " / " << b;
    }
  }
  EXPECT_EQ(key(Value::long_(-129)), key(Value::double_(-129.0)));
  EXPECT_EQ(key(Value::currency({-1290000})), key(Value::integer(-129)));
  EXPECT_NE(key(Value::long_(255)), key(Value::long_(-1)));
}

TEST(Compare, NumbersCompareByValueWhateverTheirWidth) {
  EXPECT_EQ(compare_values(Value::byte(7), Value::long_(7), kGeneral), 0);
  EXPECT_EQ(compare_values(Value::integer(-3), Value::double_(-3.0), kGeneral), 0);
  EXPECT_LT(compare_values(Value::integer(-3), Value::single(-2.5f), kGeneral), 0);
  EXPECT_EQ(compare_values(Value::currency({125000}), Value::double_(12.5), kGeneral), 0);
  EXPECT_EQ(compare_values(Value::currency({120000}), Value::long_(12), kGeneral), 0);
  EXPECT_GT(compare_values(Value::currency({120001}), Value::long_(12), kGeneral), 0);
  EXPECT_EQ(compare_values(Value::boolean(true), Value::integer(-1), kGeneral), 0);
  EXPECT_LT(compare_values(Value::boolean(true), Value::boolean(false), kGeneral), 0);
  EXPECT_EQ(compare_values(Value::datetime({45000.0}), Value::long_(45000), kGeneral), 0);
  EXPECT_EQ(key(Value::byte(7)), key(Value::long_(7)));
  EXPECT_EQ(key(Value::currency({125000})), key(Value::double_(12.5)));
  EXPECT_EQ(key(Value::integer(0)), key(Value::double_(-0.0)));
  EXPECT_NE(key(Value::long_(1)), key(Value::text(t("1"))));
}

TEST(Compare, TextAgainstANumberIsATypeMismatch) {
  try {
    compare_values(Value::text(t("1")), Value::long_(1), kGeneral);
    FAIL();
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.number(), 3464);
  }
  EXPECT_FALSE(comparable(Category::Text, Category::Number));
  EXPECT_TRUE(comparable(Category::Null, Category::Text));
  EXPECT_FALSE(comparable(Category::Binary, Category::Binary));
}

TEST(Compare, SortPutsNullsFirst) {
  EXPECT_LT(compare_for_sort(Value(), Value::long_(-100), kGeneral), 0);
  EXPECT_LT(compare_for_sort(Value(), Value::text(t("")), kGeneral), 0);
  EXPECT_EQ(compare_for_sort(Value(), Value(), kGeneral), 0);
  EXPECT_NE(key(Value()), key(Value::text(t(""))));
}

}  // namespace
}  // namespace tarvik::archive::sql
