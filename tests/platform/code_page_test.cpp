// Jet3 text in code pages other than 1252, through the system's converter: single-byte and
// double-byte code pages, and invalid or cut-off sequences, which become U+FFFD one byte at a time.
#include <gtest/gtest.h>

#include "archive/jet/text_codec.h"
#include "platform/code_page.h"

namespace tarvik::test {
namespace {

std::u16string decode(std::uint16_t code_page, std::initializer_list<std::uint8_t> bytes) {
  const std::vector<std::uint8_t> in(bytes);
  return archive::jet::decode_code_page(archive::jet::Bytes(in.data(), in.size()), code_page);
}

TEST(CodePageTest, SingleAndDoubleByteCodePages) {
  EXPECT_EQ(decode(1251, {0xCF, 0xF0, 0xE8, 0x20, 0x41}), u"При A");  // Cyrillic
  EXPECT_EQ(decode(1253, {0xC1, 0xE8}), u"Αθ");                     // Greek
  EXPECT_EQ(decode(932, {0x93, 0xFA, 0x96, 0x7B, 0x41}), u"日本A");  // Shift-JIS
  // 1252 and an unknown code page are decoded as Windows-1252.
  EXPECT_EQ(decode(1252, {0x80, 0xE0}), u"€à");
  EXPECT_EQ(decode(65000 + 123, {0x80, 0xE0}), u"€à");
}

TEST(CodePageTest, BrokenSequencesBecomeReplacementCharacters) {
  // A Shift-JIS lead byte at the end has lost its trail byte.
  EXPECT_EQ(decode(932, {0x41, 0x93}), u"A\uFFFD");
  // The decoder is reused from value to value: a cut-off value leaves nothing behind.
  EXPECT_EQ(decode(932, {0x93, 0xFA}), u"日");
}

TEST(CodePageTest, UnknownCodePageHasNoDecoder) {
  EXPECT_EQ(platform::CodePageDecoder::open(65000 + 123), nullptr);
  EXPECT_NE(platform::CodePageDecoder::open(1251), nullptr);
}

}  // namespace
}  // namespace tarvik::test
