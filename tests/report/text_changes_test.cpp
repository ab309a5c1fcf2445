// What the report counts as a changed text, against the C library's own Windows-1252 converter,
// and where the report goes beside a transfer file.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "report/code_page_oracle.h"
#include "report/report_file.h"
#include "transfer/text_changes.h"
#include "transfer/windows1252.h"

namespace tarvik::test::report {
namespace {

using transfer::FindTextChanges;

// Long texts, mostly letters that stand for their own byte, with any other unit anywhere: each
// character lost is one "?" more in the written bytes, and every control but TAB is removed from a
// cleaned text.
TEST(TextChanges, CountsInLongTextsMatchWhatTheWriterWrites) {
  static const std::u16string others = {0, 9, 10, 13, 31, 0x7F, 0x80, 0x81, 0x9F, 0xA0, 0xFF, 0x20AC,
                                        0x0100, 0x4F60, 0xD83D, 0xDE00, 0xFFFD, u'?'};
  static const std::u16string letters = u"abcXYZ 09.,àèéìòù«»°";
  std::mt19937 rng(8122026);
  std::uniform_int_distribution<std::size_t> length(0, 90), letter(0, letters.size() - 1), other(0, others.size() - 1);
  std::uniform_int_distribution<int> odds(0, 11);
  for (int i = 0; i < 20000; ++i) {
    std::u16string text(length(rng), u' ');
    for (char16_t& c : text) c = odds(rng) == 0 ? others[other(rng)] : letters[letter(rng)];
    const auto marks_in = std::count(text.begin(), text.end(), u'?');
    for (const bool raw : {false, true}) {
      std::string written;
      raw ? transfer::append_windows1252(written, text) : transfer::append_windows1252_cleaned(written, text);
      const transfer::TextChanges found = FindTextChanges(text, raw);
      ASSERT_EQ(std::ptrdiff_t(found.outside_count), std::count(written.begin(), written.end(), '?') - marks_in)
          << "case " << i << " raw " << raw;
      const auto removed = raw ? 0 : std::count_if(text.begin(), text.end(), [](char16_t c) { return c < 0x20 && c != u'\t'; });
      ASSERT_EQ(std::ptrdiff_t(found.controls_removed), removed) << "case " << i << " raw " << raw;
    }
  }
}

TEST(TextChanges, EveryCharacterIsLostExactlyWhenTheCodePageLacksIt) {
  std::size_t lost = 0;
  for (char32_t c = 0x20; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::u16string text(1, static_cast<char16_t>(c));
    const bool outside = FindTextChanges(text, false).outside_count == 1;
    ASSERT_EQ(outside, !in_windows1252(static_cast<char16_t>(c))) << std::hex << static_cast<unsigned>(c);
    lost += outside;
  }
  EXPECT_GT(lost, 60000u);
}

TEST(TextChanges, ControlCharactersCountOnlyWhenTheTextIsCleaned) {
  const std::u16string text = u"A\r\nB\tC\x01\x1F";
  EXPECT_EQ(FindTextChanges(text, false).controls_removed, 4u);
  EXPECT_FALSE(FindTextChanges(text, true).any());
  EXPECT_FALSE(FindTextChanges(u"Perché 5 € — «così»\t", false).any());
}

TEST(TextChanges, ACharacterBeyondTheBasicPlaneIsOneCharacterAndAStraySurrogateAnother) {
  const transfer::TextChanges pair = FindTextChanges(u"x\U0001F600y", false);
  EXPECT_EQ(pair.outside_count, 1u);
  EXPECT_EQ(pair.outside_code_page, u"\U0001F600");
  const std::u16string stray = {u'a', static_cast<char16_t>(0xDC00), static_cast<char16_t>(0xD800)};
  EXPECT_EQ(FindTextChanges(stray, false).outside_count, 2u);
  // Cleaning removes the control first, so the halves meet again: one character lost, as the
  // writer's "?" shows.
  const std::u16string apart = {static_cast<char16_t>(0xD83D), u'\x01', static_cast<char16_t>(0xDE00)};
  const transfer::TextChanges cleaned = FindTextChanges(apart, false);
  EXPECT_EQ(cleaned.outside_count, 1u);
  EXPECT_EQ(cleaned.controls_removed, 1u);
  EXPECT_EQ(FindTextChanges(apart, true).outside_count, 2u);
}

TEST(TextChanges, ManyLostCharactersKeepOnlyTheFirstFewForTheReport) {
  const transfer::TextChanges many = FindTextChanges(std::u16string(500, u'\u0416'), false);
  EXPECT_EQ(many.outside_count, 500u);
  EXPECT_EQ(many.outside_code_page.size(), transfer::kOutsideCharactersKept);
}

TEST(ReportPath, TheReportTakesTheTransferFilesNameWithHtmlAndNeverItsPlace) {
  using tarvik::report::ReportPathFor;
  EXPECT_EQ(ReportPathFor("/tmp/a/ProvaExport.txt"), "/tmp/a/ProvaExport.html");
  EXPECT_EQ(ReportPathFor("Export"), "Export.html");
  EXPECT_EQ(ReportPathFor("dati.v2.txt"), "dati.v2.html");
  EXPECT_EQ(ReportPathFor("/tmp/a/Export.html"), "/tmp/a/Export.html.html");
}

}  // namespace
}  // namespace tarvik::test::report
