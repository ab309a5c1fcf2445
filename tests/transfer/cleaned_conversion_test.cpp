// The one-pass conversion of cleaned text must give exactly the bytes of CleanText followed by the
// conversion, on texts built to hit every class of code unit, and must say what it changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "transfer/clean_text.h"
#include "transfer/text_changes.h"
#include "transfer/windows1252.h"

namespace tarvik::transfer {
namespace {

std::string two_pass(const std::u16string& text) {
  std::string out;
  append_windows1252(out, CleanText(text));
  return out;
}

std::string one_pass(const std::u16string& text, TextOutcome* outcome = nullptr) {
  std::string out = "prefix:";  // appends, never replaces
  const TextOutcome o = append_windows1252_cleaned(out, text);
  if (outcome) *outcome = o;
  EXPECT_EQ(out.substr(0, 7), "prefix:");
  return out.substr(7);
}

// Code units from every range that converts differently: controls, TAB, ASCII, C1 (the five
// undefined bytes among them), Latin-1, the 27 characters mapped above Latin-1, others, surrogates.
std::u16string random_text(std::mt19937& rng) {
  static const std::u16string pool = {
      0,      1,      9,      10,     13,     31,     32,     u'?',   u'A',   0x7F,   0x80,   0x81,
      0x8D,   0x8F,   0x90,   0x9D,   0x9F,   0xA0,   0xE8,   0xFF,   0x20AC, 0x0160, 0x2122, 0x0178,
      0x0100, 0x4F60, 0xFFFD, 0xD83D, 0xDE00, 0xDBFF, 0xDC00};
  std::uniform_int_distribution<std::size_t> length(0, 12), pick(0, pool.size() - 1);
  std::u16string text(length(rng), u' ');
  for (char16_t& c : text) c = pool[pick(rng)];
  return text;
}

TEST(CleanedConversion, SameBytesAsCleanTextThenConversion) {
  std::mt19937 rng(20261207);
  for (int i = 0; i < 20000; ++i) {
    const std::u16string text = random_text(rng);
    TextOutcome outcome;
    const std::string converted = one_pass(text, &outcome);
    ASSERT_EQ(converted, two_pass(text)) << "case " << i;
    // What changed, worked out from the two-pass result.
    const std::u16string cleaned = CleanText(text);
    EXPECT_EQ(outcome.removed_controls, cleaned != text) << "case " << i;
    const auto marks_in = std::count(cleaned.begin(), cleaned.end(), u'?');
    const auto marks_out = std::count(converted.begin(), converted.end(), '?');
    EXPECT_EQ(outcome.replaced, marks_out > marks_in) << "case " << i;
  }
}

// Long runs of units that stand for their own byte (printable ASCII, Latin-1 letters) go eight
// units at a time: texts of any length, with a unit of every other kind at any place, give the
// bytes and the outcome of converting unit by unit.
TEST(CleanedConversion, LongTextsGiveTheBytesOfUnitByUnitConversion) {
  static const std::u16string others = {0, 1, 9, 10, 31, 0x7F, 0x80, 0x81, 0x9F, 0xA0, 0xE8,
                                        0xFF, 0x20AC, 0x0160, 0x0178, 0x0100, 0x4F60, 0xFFFD, 0x8000};
  std::mt19937 rng(20261208);
  std::uniform_int_distribution<std::size_t> length(0, 80), printable(0x20, 0x7E), pick(0, others.size() - 1);
  std::uniform_int_distribution<int> odds(0, 15);
  for (int i = 0; i < 20000; ++i) {
    std::u16string text(length(rng), u' ');
    for (char16_t& c : text) c = odds(rng) == 0 ? others[pick(rng)] : static_cast<char16_t>(printable(rng));
    for (const bool clean : {false, true}) {
      std::string expected;
      TextOutcome expected_outcome;
      for (const char16_t unit : text) {
        const std::u16string one(1, unit);
        const TextOutcome o = clean ? append_windows1252_cleaned(expected, one) : append_windows1252(expected, one);
        expected_outcome.replaced |= o.replaced;
        expected_outcome.removed_controls |= o.removed_controls;
      }
      std::string out;
      const TextOutcome outcome = clean ? append_windows1252_cleaned(out, text) : append_windows1252(out, text);
      ASSERT_EQ(out, expected) << "case " << i << (clean ? " cleaned" : " raw");
      ASSERT_EQ(outcome.replaced, expected_outcome.replaced) << "case " << i;
      ASSERT_EQ(outcome.removed_controls, expected_outcome.removed_controls) << "case " << i;
    }
  }
}

// The writer tells the report of a changed text from the conversion's outcome alone: it must say
// "changed" exactly when a closer look finds a character outside the code page or a control
// removed, raw or cleaned.
TEST(CleanedConversion, OutcomeSaysChangedExactlyWhenTheCloserLookFindsAChange) {
  std::mt19937 rng(7122026);
  for (int i = 0; i < 20000; ++i) {
    const std::u16string text = random_text(rng);
    for (bool raw : {false, true}) {
      std::string out;
      const TextOutcome o = raw ? append_windows1252(out, text) : append_windows1252_cleaned(out, text);
      ASSERT_EQ(o.replaced || o.removed_controls, FindTextChanges(text, raw).any()) << "case " << i << " raw " << raw;
    }
  }
}

TEST(CleanedConversion, EdgeCases) {
  EXPECT_EQ(one_pass(u"A\r\nB\tC"), "AB\tC");
  // A surrogate pair split by a line break is one character once the break is gone.
  EXPECT_EQ(one_pass(u"x\xD83D\r\n\xDE00y"), "x?y");
  EXPECT_EQ(two_pass(u"x\xD83D\r\n\xDE00y"), "x?y");
  // Unpaired halves are a "?" each; a low half before a high one pairs with nothing.
  EXPECT_EQ(one_pass(u"\xDE00\xD83D"), "??");
  EXPECT_EQ(one_pass(u"\xD83D"), "?");
  // The mapped characters above Latin-1 and the five undefined bytes keep their bytes.
  EXPECT_EQ(one_pass(u"\u20AC\u0160\u017D\u0081\u008D\u008F\u0090\u009D\u00E8"),
            "\x80\x8A\x8E\x81\x8D\x8F\x90\x9D\xE8");
  TextOutcome outcome;
  EXPECT_EQ(one_pass(u"plain text", &outcome), "plain text");
  EXPECT_FALSE(outcome.replaced);
  EXPECT_FALSE(outcome.removed_controls);
  EXPECT_EQ(one_pass(u"\u4F60\u0085", &outcome), "??");  // U+0085 is a C1 control the code page lacks
  EXPECT_TRUE(outcome.replaced);
  EXPECT_FALSE(outcome.removed_controls);
  EXPECT_EQ(one_pass(std::u16string(1, u'\0'), &outcome), "");
  EXPECT_TRUE(outcome.removed_controls);
}

TEST(CleanedConversion, RawConversionReportsReplacementsAndKeepsControls) {
  std::string out;
  const TextOutcome outcome = append_windows1252(out, u"a\r\n\u4F60");
  EXPECT_EQ(out, "a\r\n?");
  EXPECT_TRUE(outcome.replaced);
  EXPECT_FALSE(outcome.removed_controls);
}

}  // namespace
}  // namespace tarvik::transfer
