// The tricky decodings on hand-made bytes: compressed unicode, code pages, and rows whose shape
// differs from the table's (columns added later, no variable columns, Jet3 offset jumps).
#include <gtest/gtest.h>

#include <random>

#include "archive/jet/format.h"
#include "archive/jet/row_layout.h"
#include "archive/jet/text_codec.h"
#include "common/utf8.h"

namespace tarvik::test {
namespace {

using namespace archive::jet;

std::u16string jet4(std::vector<std::uint8_t> bytes) { return decode_jet4_text(bytes); }

TEST(TextDecoding, Jet4CompressedRunsToggleOnZeroBytes) {
  EXPECT_EQ(jet4({0xFF, 0xFE, 'a', 'b', 0x00, 0x4E, 0x6F, 0x00, 'c'}), u"ab\u6F4Ec");
  EXPECT_EQ(jet4({0xFF, 0xFE, 0x00, 0x4E, 0x6F}), u"\u6F4E");    // ends uncompressed
  EXPECT_EQ(jet4({0xFF, 0xFE, 0x00, 0x4E, 0x6F, 0x41}), u"\u6F4E");  // cut mid-character
  EXPECT_EQ(jet4({0xFF, 0xFE}), u"");
  EXPECT_EQ(jet4({'a', 0, 'b', 0}), u"ab");                       // plain UCS-2
  EXPECT_EQ(jet4({'a', 0, 'b'}), u"a");                           // odd trailing byte dropped
  EXPECT_EQ(jet4({0x3D, 0xD8, 0x00, 0xDE}), u"\U0001F600");        // a surrogate pair kept whole
}

// Compressed texts of any length, with their zero bytes anywhere: the characters of reading the
// bytes one by one (the long runs between zero bytes are widened sixteen bytes at a time), also
// into a text that held other characters.
TEST(TextDecoding, Jet4CompressedTextsOfAnyLengthReadAsByteByByte) {
  std::mt19937 rng(20261208);
  std::uniform_int_distribution<int> length(0, 90), byte(1, 255), odds(0, 19);
  std::u16string reused;
  for (int i = 0; i < 20000; ++i) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (int n = length(rng); n > 0; --n) bytes.push_back(odds(rng) == 0 ? 0 : static_cast<std::uint8_t>(byte(rng)));
    std::u16string expected;
    bool compressed = true;
    for (std::size_t k = 2; k < bytes.size();) {
      if (bytes[k] == 0) {
        compressed = !compressed;
        ++k;
      } else if (compressed) {
        expected += char16_t(bytes[k++]);
      } else {
        if (k + 1 >= bytes.size()) break;
        expected += char16_t(bytes[k] | (bytes[k + 1] << 8));
        k += 2;
      }
    }
    ASSERT_EQ(jet4(bytes), expected) << "case " << i;
    // Into a text that held the last case's characters, as a reused row's value does.
    decode_jet4_text(bytes, reused);
    ASSERT_EQ(reused, expected) << "case " << i << ", reused";
  }
  // UCS-2 and code-page texts replace a longer text whole too.
  reused = u"a much longer text than the next";
  decode_jet4_text(std::vector<std::uint8_t>{'o', 0, 'k', 0}, reused);
  EXPECT_EQ(reused, u"ok");
  CodePageDecoder cp1252(1252);
  cp1252.decode(std::vector<std::uint8_t>{0x80, 'x'}, reused);
  EXPECT_EQ(reused, u"\u20ACx");
}

TEST(TextDecoding, CodePagesAsWindowsDecodesThem) {
  std::vector<std::uint8_t> bytes = {0x80, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0x9F, 0xE8, 'A'};
  EXPECT_EQ(decode_code_page(bytes, 1252), u"\u20AC\u0081\u008D\u008F\u0090\u009D\u0178\u00E8A");
  std::vector<std::uint8_t> gbk = {0xC4, 0xE3, 0xBA, 0xC3};
  EXPECT_EQ(decode_code_page(gbk, 936), u"\u4F60\u597D");
  std::vector<std::uint8_t> e_grave = {0xE8};
  EXPECT_EQ(decode_code_page(e_grave, 12345 /* no such code page */), u"\u00E8");
  EXPECT_EQ(tarvik::utf16_to_utf8(u"\u00E8\u20AC\U0001F600"), "è€😀");
  EXPECT_EQ(tarvik::utf16_to_utf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

Column column(FieldType type, std::uint16_t number, bool fixed, std::uint16_t offset_or_var,
              std::uint16_t length) {
  Column c;
  c.type = type;
  c.number = number;
  c.flags = fixed ? Column::kFixedFlag : 0;
  if (fixed) c.fixed_offset = offset_or_var;
  else c.var_index = offset_or_var;
  c.length = length;
  return c;
}

// The fields point into the row's bytes, so the row is kept alive beside them.
std::vector<Field> split(const TableDef& table, const Format& format, std::vector<std::uint8_t> row) {
  static std::vector<std::vector<std::uint8_t>> rows_kept;
  rows_kept.push_back(std::move(row));
  std::vector<Field> fields;
  RowLayout(table, format).split(rows_kept.back(), fields);
  return fields;
}

TEST(RowLayout, RowWrittenBeforeAColumnWasAddedReadsItAsNull) {
  TableDef table;
  table.num_var_cols = 1;
  table.columns = {column(FieldType::Long, 0, true, 0, 4), column(FieldType::Text, 1, false, 0, 100),
                   column(FieldType::Long, 2, true, 4, 4)};
  table.max_cols = 3;
  // Two columns when written: the Long, then "ab", offsets (eod 10, start 6), count 1, mask.
  auto fields = split(table, jet4_format(),
                      {2, 0, 1, 0, 0, 0, 'a', 0, 'b', 0, 10, 0, 6, 0, 1, 0, 0x03});
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_TRUE(fields[0].present);
  EXPECT_EQ(fields[0].bytes.size(), 4u);
  EXPECT_TRUE(fields[1].present);
  EXPECT_EQ(decode_jet4_text(fields[1].bytes), u"ab");
  EXPECT_FALSE(fields[2].present);
}

TEST(RowLayout, TableWithoutVariableColumnsHasNoOffsetTable) {
  TableDef table;
  table.num_var_cols = 0;
  table.columns = {column(FieldType::Long, 0, true, 0, 4), column(FieldType::Boolean, 1, true, 0, 0)};
  table.max_cols = 2;
  auto fields = split(table, jet4_format(), {2, 0, 5, 0, 0, 0, 0x03});
  EXPECT_TRUE(fields[0].present);
  EXPECT_EQ(fields[0].bytes[0], 5);
  EXPECT_TRUE(fields[1].present);  // a Yes/No value lives in the null mask
  fields = split(table, jet4_format(), {2, 0, 5, 0, 0, 0, 0x01});
  EXPECT_FALSE(fields[1].present);
}

TEST(RowLayout, Jet3OffsetsBeyond255UseTheJumpTable) {
  TableDef table;
  table.num_var_cols = 2;
  table.columns = {column(FieldType::Text, 0, false, 0, 255), column(FieldType::Text, 1, false, 1, 10)};
  table.max_cols = 2;
  std::vector<std::uint8_t> row(309, 'a');
  row[0] = 2;            // columns when written
  row[301] = 'x';        // second value "xy" at 301..303
  row[302] = 'y';
  row[303] = 303 & 0xFF; // eod, low byte
  row[304] = 301 & 0xFF; // second offset, low byte
  row[305] = 1;          // first offset
  row[306] = 1;          // jump: offsets from index 1 on are past 256
  row[307] = 2;          // variable column count
  row[308] = 0x03;       // null mask
  auto fields = split(table, jet3_format(), row);
  EXPECT_EQ(fields[0].bytes.size(), 300u);
  ASSERT_EQ(fields[1].bytes.size(), 2u);
  EXPECT_EQ(fields[1].bytes[0], 'x');
}

TEST(RowLayout, MoreColumnsThanTheTableEverHadAreDamage) {
  TableDef table;
  table.num_var_cols = 0;
  table.columns = {column(FieldType::Long, 0, true, 0, 4)};
  table.max_cols = 1;
  EXPECT_NO_THROW(split(table, jet4_format(), {1, 0, 5, 0, 0, 0, 0x01}));
  EXPECT_THROW(split(table, jet4_format(), {2, 0, 5, 0, 0, 0, 0x01}), archive::ArchiveError);
  EXPECT_THROW(split(table, jet3_format(), {9, 5, 0, 0, 0, 0x01, 0}), archive::ArchiveError);
}

TEST(RowLayout, OffsetsOutsideTheRowAreDamage) {
  TableDef table;
  table.num_var_cols = 1;
  table.columns = {column(FieldType::Text, 0, false, 0, 100)};
  table.max_cols = 1;
  EXPECT_THROW(split(table, jet4_format(), {1, 0, 'a', 0, 200, 0, 2, 0, 1, 0, 0x01}), archive::ArchiveError);
  EXPECT_THROW(split(table, jet4_format(), {1, 0, 0xFF, 0xFF, 0x01}), archive::ArchiveError);
  EXPECT_THROW(split(table, jet4_format(), {0xFF, 0xFF}), archive::ArchiveError);
}

}  // namespace
}  // namespace tarvik::test
