// The pieces every room shares, each with one home: names matched without regard to ASCII case,
// column types by name, Jet's calendar, UTF-8.
#include <gtest/gtest.h>

#include "archive/jet/table_def.h"
#include "common/calendar.h"
#include "common/names.h"
#include "common/utf8.h"

namespace tarvik::test {
namespace {

using archive::FieldType;

TEST(SharedNames, OnlyAsciiLettersMatchWithoutRegardToCase) {
  EXPECT_TRUE(same_name("NoteInBolla", "noteinbolla"));
  EXPECT_TRUE(same_name("idCliFor", "IDCLIFOR"));
  EXPECT_FALSE(same_name("Città", "CITTÀ"));  // accented letters match only as they are
  EXPECT_FALSE(same_name("Note", "Notes"));
  EXPECT_FALSE(same_name("a[", "A{"));  // '[' and '{' are 32 apart but are no letters
  EXPECT_EQ(name_key("TabellaIVA"), "tabellaiva");
  EXPECT_EQ(name_key("Città"), "città");
}

TEST(SharedNames, EveryColumnTypeIsFoundByItsName) {
  int named = 0;
  for (unsigned code = 0; code <= 0xFF; ++code) {
    const auto type = static_cast<FieldType>(code);
    const std::string name = archive::jet::type_name(type);
    if (name == "unknown") {
      continue;
    }
    ++named;
    EXPECT_EQ(archive::jet::column_type_named(name), type) << name;
  }
  EXPECT_EQ(named, 17);
  EXPECT_EQ(archive::jet::column_type_named("unknown"), std::nullopt);
  EXPECT_EQ(archive::jet::column_type_named("Long"), std::nullopt);  // the names are lower case
}

TEST(SharedCalendar, DayCountsFromTheJetEpoch) {
  auto date = [](std::int64_t day) {
    const CivilDate d = civil_date_of_jet_day(day);
    return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
  };
  EXPECT_EQ(date(0), "1899-12-30");
  EXPECT_EQ(date(-1), "1899-12-29");
  EXPECT_EQ(date(60), "1900-2-28");  // 1900 is no leap year
  EXPECT_EQ(date(38046), "2004-2-29");
  EXPECT_EQ(date(-657434), "100-1-1");
  EXPECT_EQ(date(2958465), "9999-12-31");
  EXPECT_EQ(date(-693593), "1-1-1");
  for (std::int64_t day : {-693593L, -657434L, -1L, 0L, 60L, 61L, 38046L, 2958465L}) {
    const CivilDate d = civil_date_of_jet_day(day);
    EXPECT_EQ(jet_day_of_date(d.year, d.month, d.day), day);
  }

  const auto split = [](double days) {
    const JetDayAndSecond s = split_jet_day_count(days);
    return std::pair{s.day, s.second};
  };
  EXPECT_EQ(split(-1.25), (std::pair<std::int64_t, std::int64_t>{-1, 21600}));
  EXPECT_EQ(split(2.75), (std::pair<std::int64_t, std::int64_t>{2, 64800}));
  EXPECT_EQ(split(1.0 - 0.1 / 86400), (std::pair<std::int64_t, std::int64_t>{1, 0}));
  EXPECT_EQ(split(-1.0 - (86400 - 0.1) / 86400), (std::pair<std::int64_t, std::int64_t>{0, 0}));
}

TEST(SharedUtf8, LenientBothWaysAndStrictWhereAsked) {
  EXPECT_EQ(utf8_to_utf16("Città €"), u"Città €");
  EXPECT_EQ(utf16_to_utf8(u"Città €\U0001F600"), "Città €\xF0\x9F\x98\x80");
  EXPECT_EQ(utf16_to_utf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
  // Overlong, cut off, an encoded surrogate: one U+FFFD per byte that starts no valid sequence.
  EXPECT_EQ(utf8_to_utf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(utf8_to_utf16("a\xE2\x82"), u"a\uFFFD\uFFFD");
  EXPECT_EQ(utf8_to_utf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  // The decoder itself hands an encoded surrogate back for the caller to judge.
  std::size_t at = 0;
  EXPECT_EQ(decode_utf8("\xED\xA0\x80", at), char32_t(0xD800));
  EXPECT_EQ(at, 3u);
}

}  // namespace
}  // namespace tarvik::test
