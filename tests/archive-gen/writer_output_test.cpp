// Properties of the writer's output beyond the values: the same input gives the same bytes,
// Jet4 text is stored compressed exactly when Access would, and the 2 GB limit is kept.
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "archive/jet/text_codec.h"
#include "archive_gen_support.h"
#include "description.h"
#include "jet4_text.h"
#include "page_file.h"

namespace tarvik::test {
namespace {

using archive_gen::encode_jet4_text;

TEST(WriterOutput, SameDescriptionSameBytes) {
  nlohmann::json d = {{"tables", nlohmann::json::array()}};
  for (int t = 0; t < 3; ++t) {
    nlohmann::json rows = nlohmann::json::array();
    for (int r = 0; r < 3000; ++r)
      rows.push_back({r, "riga " + std::to_string(r), r % 5 ? nullptr : nlohmann::json(std::string(5000, 'x')),
                      "2004-01-0" + std::to_string(1 + r % 9)});
    d["tables"].push_back({{"name", "T" + std::to_string(t)},
                           {"columns",
                            {{{"name", "Id"}, {"type", "long"}},
                             {{"name", "Testo"}, {"type", "text"}},
                             {{"name", "Nota"}, {"type", "memo"}},
                             {{"name", "Data"}, {"type", "datetime"}}}},
                           {"primaryKey", {"Id"}},
                           {"rows", rows}});
  }
  const std::string first = temp_archive("same_1"), second = temp_archive("same_2");
  archive_gen::write_archive(d, first);
  archive_gen::write_archive(d, second);
  const auto a = file_bytes(first), b = file_bytes(second);
  EXPECT_GT(a.size(), 100u * 4096u);
  EXPECT_TRUE(a == b) << "two runs over the same description differ";
  std::remove(first.c_str());
  std::remove(second.c_str());
}

std::vector<std::uint8_t> stored(std::u16string_view text, bool may_compress = true) {
  return encode_jet4_text(text, may_compress);
}

TEST(WriterOutput, TextCompressedOnlyWhenItSavesSpace) {
  using Bytes = std::vector<std::uint8_t>;
  EXPECT_EQ(stored(u"AB"), (Bytes{'A', 0, 'B', 0}));  // FF FE + 2 bytes saves nothing
  EXPECT_EQ(stored(u"ABC"), (Bytes{0xFF, 0xFE, 'A', 'B', 'C'}));
  EXPECT_EQ(stored(u"àè€x").size(), 8u);  // € (U+20AC) does not fit one byte: no gain
  EXPECT_EQ(stored(u"日本"), (Bytes{0xE5, 0x65, 0x2C, 0x67}));
  // A character with a zero low byte would read as the mode switch: never compressed.
  EXPECT_EQ(stored(u"aaaaaaaaĀ").size(), 18u);
  EXPECT_EQ(stored(u"aaaaaaaaaa\U0001F600").size(), 24u);
  EXPECT_EQ(stored(std::u16string(1025, u'a'), false).size(), 2050u);
  EXPECT_THROW(stored(u"\uFEFF\u0100"), std::runtime_error);

  for (std::u16string_view s :
       {u"", u"A", u"abc日本def", u"日本abc日本", u"a€b€c€d€e", u"\uFEFF", u"\uFEFFmarker",
        u"Perché costa 5 € all'ora", u"\U0001F600\U0001F600", u"\x01\x02\t\r\n\x7F\xFF"}) {
    EXPECT_EQ(archive::jet::decode_jet4_text(stored(s)), s);
    EXPECT_LE(stored(s).size(), 2 * s.size() + (s.starts_with(u"\uFEFF") ? 3 : 0));
  }
}

TEST(WriterOutput, TwoGigabytesIsTheLimit) {
  const std::string path = temp_archive("limit");
  {
    archive_gen::PageFile file(path, archive_gen::write_format(archive_gen::FileFormat::Jet4));
    EXPECT_EQ(file.allocate(archive_gen::kMaxPages - 1), 0u);
    EXPECT_EQ(file.allocate(), archive_gen::kMaxPages - 1);
    EXPECT_THROW(file.allocate(), std::runtime_error);
    EXPECT_TRUE(file_exists(path));
  }
  EXPECT_FALSE(file_exists(path)) << "an unfinished archive was left behind";
}

}  // namespace
}  // namespace tarvik::test
