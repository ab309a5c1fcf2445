// Text in the transfer file: Windows-1252 bytes, and the cleaning of one-line values.
#include <gtest/gtest.h>

#include <string>

#include "transfer/clean_text.h"
#include "transfer/value_line.h"
#include "transfer/windows1252.h"

namespace tarvik::transfer {
namespace {

using archive::Value;

std::string cp1252(std::u16string_view text) {
  std::string out;
  append_windows1252(out, text);
  return out;
}

std::string cp1252_utf8(std::string_view text) {
  std::string out;
  append_windows1252_utf8(out, text);
  return out;
}

std::string text_line(std::u16string text, bool raw) {
  std::string out;
  append_value_line(out, Value::text(std::move(text)), raw);
  return out;
}

TEST(Windows1252, KeepsLatinOneAndMapsTheHighRangeToItsOwnBytes) {
  EXPECT_EQ(cp1252(u"Città già però"), "Citt\xE0 gi\xE0 per\xF2");
  EXPECT_EQ(cp1252(u"£ ° ÿ \u00A0"), "\xA3 \xB0 \xFF \xA0");
  EXPECT_EQ(cp1252(u"€ ‚ Œ Ž ‘ ’ “ ” • – — ™ š ž Ÿ"),
            "\x80 \x82 \x8C \x8E \x91 \x92 \x93 \x94 \x95 \x96 \x97 \x99 \x9A \x9E \x9F");
  EXPECT_EQ(cp1252(u"\u007F"), "\x7F");
}

TEST(Windows1252, TheFiveUndefinedBytesRoundTripFromTheirControlCharacters) {
  EXPECT_EQ(cp1252(u"\u0081\u008D\u008F\u0090\u009D"), "\x81\x8D\x8F\x90\x9D");
}

TEST(Windows1252, WhatTheCodePageLacksBecomesOneQuestionMarkPerCharacter) {
  EXPECT_EQ(cp1252(u"ā中\u0080\u0085"), "????");
  // A surrogate pair is one character; an unpaired surrogate is one too.
  EXPECT_EQ(cp1252(u"a\U0001F600b"), "a?b");
  EXPECT_EQ(cp1252(std::u16string{u'a', char16_t(0xD83D), u'b'}), "a?b");
  EXPECT_EQ(cp1252(std::u16string{u'a', char16_t(0xDE00), u'b'}), "a?b");
  EXPECT_EQ(cp1252(std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)}), "??");
  EXPECT_EQ(cp1252(std::u16string{u'x', char16_t(0xD83D)}), "x?");
}

TEST(Windows1252, Utf8InputGivesTheSameBytes) {
  EXPECT_EQ(cp1252_utf8("Città £ € ā \xF0\x9F\x98\x80"), "Citt\xE0 \xA3 \x80 ? ?");
  // Ill-formed: a stray continuation byte, a truncated sequence, an overlong form, a surrogate.
  EXPECT_EQ(cp1252_utf8("a\x80" "b"), "a?b");
  EXPECT_EQ(cp1252_utf8("a\xC3"), "a?");
  EXPECT_EQ(cp1252_utf8("\xC0\xAF"), "??");
  EXPECT_EQ(cp1252_utf8("\xED\xA0\x80"), "???");
}

TEST(CleanText, RemovesControlCharactersButTab) {
  EXPECT_EQ(CleanText(u"A\r\nB\tC"), u"AB\tC");
  EXPECT_EQ(CleanText(std::u16string{u'x', 0, u'y', 7, u'z', 12, 31, u' '}), u"xyz ");
  EXPECT_EQ(CleanText(u"\x7F\u0085àé"), u"\x7F\u0085àé");
  EXPECT_EQ(CleanText(u""), u"");
}

TEST(CleanText, CleansTextsOfAnyLength) {
  for (std::size_t length : {32766u, 32767u, 40000u, 70000u}) {
    std::u16string text(length, u'a');
    text[length / 2] = u'\n';
    EXPECT_EQ(CleanText(text), std::u16string(length - 1, u'a')) << length;
  }
}

TEST(TextValueLine, CleanedUnlessRaw) {
  EXPECT_EQ(text_line(u"A\r\nB\tC", false), "AB\tC");
  EXPECT_EQ(text_line(u"A\r\nB\tC", true), "A\r\nB\tC");
  EXPECT_EQ(text_line(std::u16string{u'N', 0, u'U', 7, u'L', 12}, false), "NUL");
  EXPECT_EQ(text_line(u"Perù 5£\x7F", false), "Per\xF9 5\xA3\x7F");
  EXPECT_EQ(text_line(u"a\U0001F600\u0007b", false), "a?b");
  EXPECT_EQ(text_line(u"a\U0001F600\u0007b", true), "a?\x07" "b");
}

}  // namespace
}  // namespace tarvik::transfer
