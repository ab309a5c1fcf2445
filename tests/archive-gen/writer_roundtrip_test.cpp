// Archives written through JetWriter read back by the project's own reader (JetFile): every
// column type with its edge values, long values of every storage size, texts beyond
// Windows-1252, a table of 150 000 rows on a reference usage map, many tables, a table whose
// definition takes several pages, and tables filled in turns.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "archive/jet/bytes.h"
#include "common/windows1252.h"
#include "archive/jet/jet_file.h"
#include "archive/jet/page_source.h"
#include "archive_gen_support.h"
#include "jet_writer.h"

namespace tarvik::test {
namespace {

using archive::Value;
using archive::FieldType;
using archive::jet::JetFile;
using archive_gen::ColumnSpec;
using archive_gen::JetWriter;
using archive_gen::TableSpec;
using Rows = std::vector<std::vector<Value>>;

ColumnSpec col(std::string name, FieldType type, std::uint16_t size = 50, bool autonumber = false) {
  return ColumnSpec{std::move(name), type, size, autonumber};
}

std::u16string repeat(std::u16string_view alphabet, std::size_t n) {
  std::u16string s;
  for (std::size_t i = 0; i < n; ++i) s += alphabet[i % alphabet.size()];
  return s;
}

archive::Binary bytes_of(std::size_t n, unsigned seed) {
  archive::Binary b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>((i * 131 + seed * 7) >> 1);
  return b;
}

bool windows1252_only(const Rows& rows) {
  for (const auto& row : rows)
    for (const Value& v : row)
      if (v.kind() == archive::ValueKind::Text)
        for (char16_t c : v.as_text())
          if (windows1252_byte(c) < 0) return false;
  return true;
}

// Writes one table with `rows` and reads it back, as Jet4 and (when its texts allow) Jet3, fresh
// and aged: every way of storing it must read back the same rows in the same order.
Rows round_trip(const std::string& name, const TableSpec& table, const Rows& rows) {
  using archive_gen::FileFormat;
  using archive_gen::Layout;
  std::vector<archive_gen::WriterOptions> storages = {{{}, FileFormat::Jet4, Layout::Fresh, 1},
                                                      {{}, FileFormat::Jet4, Layout::Aged, 1}};
  if (windows1252_only(rows)) {
    storages.push_back({{}, FileFormat::Jet3, Layout::Fresh, 1});
    storages.push_back({{}, FileFormat::Jet3, Layout::Aged, 2});
  }
  Rows first;
  for (std::size_t k = 0; k < storages.size(); ++k) {
    const std::string path = temp_archive(name);
    {
      JetWriter writer(path, {table}, storages[k]);
      for (const auto& row : rows) writer.add_row(0, row);
      writer.finish();
    }
    auto file = JetFile::open(path);
    Rows back = read_table(*file, table.name);
    std::remove(path.c_str());
    if (k == 0) first = std::move(back);
    else EXPECT_TRUE(back == first) << name << ": storage " << k << " reads back other rows";
  }
  return first;
}

// The first bytes of the row a pg_row pointer names, read straight from the page.
std::uint8_t first_byte_of_row(const JetFile& file, std::uint32_t pointer) {
  const auto page = file.pages().page(pointer >> 8);
  const std::size_t row = pointer & 0xFF;
  return page.bytes[archive::jet::load_u16(&page.bytes[14 + 2 * row]) & 0x1FFF];
}

TEST(WriterRoundTrip, EveryTypeWithItsEdgeValues) {
  TableSpec t{"EveryType",
              {col("Id", FieldType::Long, 0, true), col("Flag", FieldType::Boolean),
               col("Small", FieldType::Byte), col("Medium", FieldType::Integer),
               col("Large", FieldType::Long), col("Single", FieldType::Single),
               col("Double", FieldType::Double), col("Money", FieldType::Currency),
               col("When", FieldType::DateTime), col("Label", FieldType::Text, 20),
               col("Note", FieldType::Memo), col("Blob", FieldType::Ole),
               col("Key", FieldType::Guid)},
              {"Id"}};
  archive::Guid g;
  for (int i = 0; i < 16; ++i) g.bytes[i] = static_cast<std::uint8_t>(i * 17);
  const Rows rows = {
      {Value::long_(1), Value::boolean(true), Value::byte(0), Value::integer(-32768),
       Value::long_(std::numeric_limits<std::int32_t>::min()), Value::single(1.5f),
       Value::double_(1e-300), Value::currency({std::numeric_limits<std::int64_t>::min()}),
       Value::datetime({-657434.0}), Value::text(u"Rossi S.r.l."), Value::text(u"two\r\nlines"),
       Value::binary({0, 255, 16}), Value::guid(g)},
      {Value::long_(2), Value::boolean(false), Value::byte(255), Value::integer(32767),
       Value::long_(std::numeric_limits<std::int32_t>::max()),
       Value::single(std::numeric_limits<float>::max()),
       Value::double_(std::numeric_limits<double>::max()),
       Value::currency({std::numeric_limits<std::int64_t>::max()}),
       Value::datetime({2958465.999988426}), Value::text(u""), Value::text(u""),
       Value::binary({}), Value::guid({})},
      {Value::long_(3), Value::boolean(true), Value(), Value(), Value(), Value(), Value(),
       Value(), Value(), Value(), Value(), Value(), Value()},
      {Value::long_(4), Value::boolean(false), Value::byte(7), Value::integer(0), Value::long_(0),
       Value::single(-0.25f), Value::double_(-123456789.125), Value::currency({123400}),
       Value::datetime({-1.25}), Value::text(u"àèìòù €"), Value::text(u"memo"),
       Value::binary({0xAB}), Value()},
  };
  EXPECT_EQ(round_trip("every_type", t, rows), rows);
}

TEST(WriterRoundTrip, LongValuesInlineOnOnePageAndChained) {
  TableSpec t{"LongValues",
              {col("Id", FieldType::Long), col("Memo", FieldType::Memo), col("Blob", FieldType::Ole)},
              {"Id"}};
  Rows rows;
  std::int32_t id = 0;
  // Around the inline limit (64 bytes), the one-row limit (4076) and chunk multiples, in a
  // compressible alphabet (one byte a character up to 1024 characters) and in one that is not.
  for (std::size_t n : {0, 1, 31, 32, 33, 64, 65, 1024, 1025, 2038, 2039, 4076, 4077, 8152, 30000}) {
    rows.push_back({Value::long_(++id), Value::text(repeat(u"Lorem ipsum ", n)), Value()});
    rows.push_back({Value::long_(++id), Value::text(repeat(u"日本語のテキスト", n)), Value()});
  }
  for (std::size_t n : {0, 1, 64, 65, 4076, 4077, 8152, 8153, 100000})
    rows.push_back({Value::long_(++id), Value(), Value::binary(bytes_of(n, static_cast<unsigned>(n)))});
  EXPECT_EQ(round_trip("long_values", t, rows), rows);
}

TEST(WriterRoundTrip, ShortLongValuesLeaveARowThatWouldNotFitAPage) {
  TableSpec t{"Wide", {col("Id", FieldType::Long)}, {}};
  for (int i = 0; i < 70; ++i) t.columns.push_back(col("M" + std::to_string(i), FieldType::Memo));
  std::vector<Value> row{Value::long_(1)};
  for (int i = 0; i < 70; ++i) row.push_back(Value::text(repeat(u"日本", 30)));  // 60 bytes each
  EXPECT_EQ(round_trip("wide_memos", t, {row}), Rows{row});
}

TEST(WriterRoundTrip, TextsBeyondWindows1252) {
  TableSpec t{"Texts", {col("Short", FieldType::Text, 255), col("Long", FieldType::Memo)}, {}};
  std::u16string all_1252;
  for (char16_t c = 1; c < 0x80; ++c) all_1252 += c;
  all_1252 += u"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ";
  for (char16_t c = 0xA0; c <= 0xFF; ++c) all_1252 += c;
  Rows rows;
  for (std::u16string s : {all_1252.substr(0, 255), std::u16string(u"漢字とかな"),
                           std::u16string(u"emoji \U0001F600 here"), std::u16string(u"Āā ĀĀ"),
                           std::u16string(u"\uFEFFmarker"), std::u16string(u"abc日本def"),
                           std::u16string(u"日本abc日本"), std::u16string(u"a€b€c"),
                           std::u16string(u"A"), std::u16string(u"AB"), std::u16string(u"ABC")})
    rows.push_back({Value::text(s), Value::text(all_1252 + s)});
  EXPECT_EQ(round_trip("texts", t, rows), rows);
}

TEST(WriterRoundTrip, ManyRowsOnAReferenceUsageMapWithTheirCountAndAutonumber) {
  TableSpec t{"Movimenti",
              {col("idMovimento", FieldType::Long, 0, true), col("Descrizione", FieldType::Text, 60),
               col("Importo", FieldType::Double), col("Note", FieldType::Memo)},
              {"idMovimento"}};
  constexpr int kRows = 150000;
  auto text = [](int i) {
    std::string s = "Cliente " + std::to_string(i);
    return std::u16string(s.begin(), s.end());
  };
  const std::string path = temp_archive("many_rows");
  {
    JetWriter writer(path, {t});
    for (int i = 1; i <= kRows; ++i) {
      // The autonumber is left null: the writer numbers the rows 1, 2, 3...
      const Value note = i % 1000 == 0 ? Value::text(repeat(u"Nota lunga. ", 3000 + i % 7))
                                       : i % 3 == 0 ? Value() : Value::text(text(i));
      const std::vector<Value> row{Value(), Value::text(text(i)), Value::double_(i / 8.0), note};
      writer.add_row(0, row);
    }
    writer.finish();
  }
  auto file = JetFile::open(path);
  const auto def = file->table("Movimenti");
  EXPECT_EQ(def.row_count, static_cast<std::uint32_t>(kRows));
  const auto tdef = file->pages().page(def.tdef_page);
  EXPECT_EQ(archive::jet::load_u32(&tdef.bytes[20]), static_cast<std::uint32_t>(kRows));  // last autonumber
  EXPECT_EQ(first_byte_of_row(*file, def.owned_pages_map), 1) << "expected a reference map";

  auto scan = file->scan(def);
  std::vector<Value> row;
  int i = 0;
  while (scan.next(row)) {
    ++i;
    ASSERT_EQ(row[0], Value::long_(i));
    ASSERT_EQ(row[1], Value::text(text(i)));
    ASSERT_EQ(row[2], Value::double_(i / 8.0));
    const Value note = i % 1000 == 0 ? Value::text(repeat(u"Nota lunga. ", 3000 + i % 7))
                       : i % 3 == 0  ? Value()
                                     : Value::text(text(i));
    ASSERT_EQ(row[3], note);
  }
  EXPECT_EQ(i, kRows);
  std::remove(path.c_str());
}

TEST(WriterRoundTrip, ManyTablesAndTablesFilledInTurns) {
  std::vector<TableSpec> tables;
  for (int t = 0; t < 80; ++t)
    tables.push_back({"Tabella" + std::to_string(t),
                      {col("Codice", FieldType::Text, 10), col("Valore", FieldType::Long)},
                      {"Codice"}});
  const std::string path = temp_archive("many_tables");
  {
    JetWriter writer(path, tables);
    // Rows go to the tables in turns, so their data pages interleave in the file.
    for (int r = 0; r < 2000; ++r)
      for (int t = 0; t < 3; ++t) {
        const std::string code = "c" + std::to_string(r);
        const std::vector<Value> row{Value::text(std::u16string(code.begin(), code.end())),
                                     Value::long_(r * 10 + t)};
        writer.add_row(static_cast<std::size_t>(t), row);
      }
    for (std::size_t t = 3; t < tables.size(); ++t) {
      const std::vector<Value> row{Value::text(u"solo"), Value::long_(static_cast<std::int32_t>(t))};
      writer.add_row(t, row);
    }
    writer.finish();
  }
  auto file = JetFile::open(path);
  std::vector<std::string> names;
  for (const auto& t : tables) names.push_back(t.name);
  EXPECT_EQ(file->user_table_names(), names);
  for (int t = 0; t < 3; ++t) {
    const Rows rows = read_table(*file, tables[t].name);
    ASSERT_EQ(rows.size(), 2000u);
    for (int r = 0; r < 2000; ++r) ASSERT_EQ(rows[r][1], Value::long_(r * 10 + t));
  }
  for (std::size_t t = 3; t < tables.size(); ++t) {
    const Rows rows = read_table(*file, tables[t].name);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], Value::long_(static_cast<std::int32_t>(t)));
    const auto def = file->table(tables[t].name);
    ASSERT_NE(def.primary_key(), nullptr);
    ASSERT_EQ(def.primary_key()->columns.size(), 1u);
    EXPECT_EQ(def.primary_key()->columns[0].column, 0u);
  }
  std::remove(path.c_str());
}

TEST(WriterRoundTrip, DefinitionOverSeveralPagesWithAPrimaryKeyOfTwoColumns) {
  TableSpec t{"Larga", {}, {"Colonna_199", "Colonna_000"}};
  std::vector<Value> row;
  for (int c = 0; c < 200; ++c) {
    char name[80];
    std::snprintf(name, sizeof name, "Colonna_%03d_con_un_nome_molto_lungo_per_occupare_spazio", c);
    t.columns.push_back(col(name, c % 2 ? FieldType::Long : FieldType::Text, 5));
    row.push_back(c % 2 ? Value::long_(c) : Value::text(u"v"));
  }
  t.primary_key = {t.columns[199].name, t.columns[0].name};
  const std::string path = temp_archive("wide_definition");
  {
    JetWriter writer(path, {t});
    writer.add_row(0, row);
    writer.finish();
  }
  auto file = JetFile::open(path);
  const auto def = file->table("Larga");
  ASSERT_EQ(def.columns.size(), 200u);
  for (int c = 0; c < 200; ++c) EXPECT_EQ(def.columns[c].name, t.columns[c].name);
  ASSERT_NE(def.primary_key(), nullptr);
  ASSERT_EQ(def.primary_key()->columns.size(), 2u);
  EXPECT_EQ(def.primary_key()->columns[0].column, 199u);
  EXPECT_EQ(def.primary_key()->columns[1].column, 0u);
  EXPECT_EQ(read_table(*file, "Larga"), Rows{row});
  std::remove(path.c_str());
}

}  // namespace
}  // namespace tarvik::test
