// The reader against real archives made by Access: every table of the shared corpus, and the
// files that hold the traps (stale pages, moved and deleted rows, encryption, code pages, long
// value chains, dates before 1899).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "archive/archive_error.h"
#include "archive/jet/page_source.h"
#include "archive/corpus.h"
#include "archive/scan_helpers.h"

namespace tarvik::test {
namespace {

using archive::ValueKind;
using archive::jet::JetFile;

std::unique_ptr<JetFile> open_corpus(const std::string& relative) {
  return JetFile::open(corpus_file(relative));
}

TEST(JetCorpus, EveryTableOfEveryFileScansToItsStoredRowCount) {
  std::size_t files = 0, tables = 0, rows_total = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(TARVIK_CORPUS_DIR)) {
    auto ext = entry.path().extension();
    if (ext != ".mdb" && ext != ".accdb") continue;
    SCOPED_TRACE(entry.path().string());
    auto file = JetFile::open(entry.path().string());
    ++files;
    for (const auto& name : file->user_table_names()) {
      SCOPED_TRACE(name);
      auto def = file->table(name);
      auto scan = file->scan(def);
      std::vector<archive::Value> row;
      std::size_t rows = 0;
      while (scan.next(row)) {
        ASSERT_EQ(row.size(), def.columns.size());
        ++rows;
      }
      EXPECT_EQ(rows, def.row_count);  // the definition's count witnesses the live rows
      EXPECT_EQ(file->scan(def).count_rest(), static_cast<std::int64_t>(rows));  // counted uncut
      ++tables;
      rows_total += rows;
    }
  }
  // The corpus manifest: 34 files, 116 user tables, 21 989 rows, agreed by two other readers.
  EXPECT_EQ(files, 34u);
  EXPECT_EQ(tables, 116u);
  EXPECT_EQ(rows_total, 21989u);
}

TEST(JetCorpus, BasicTypesKeepTheirColumnTypes) {
  for (const char* path : {"jackcess/testV1997.mdb", "jackcess/testV2000.mdb"}) {
    SCOPED_TRACE(path);
    auto rows = scan_all(*open_corpus(path), "Table1");
    ASSERT_EQ(rows.size(), 2u);
    auto full = std::find_if(rows.begin(), rows.end(), [](const auto& r) { return text_of(r[0]) == "abcdefg"; });
    ASSERT_NE(full, rows.end());
    const auto& r = *full;
    EXPECT_EQ(text_of(r[1]), "hijklmnop");
    EXPECT_EQ(r[2], archive::Value::byte(2));
    EXPECT_EQ(r[3], archive::Value::integer(222));
    EXPECT_EQ(r[4], archive::Value::long_(333333333));
    EXPECT_EQ(r[5], archive::Value::double_(444.555));
    EXPECT_EQ(r[6], archive::Value::datetime({27293.0}));  // 1974-09-21
    EXPECT_EQ(r[7], archive::Value::currency({35000}));
    EXPECT_EQ(r[8], archive::Value::boolean(true));
  }
}

TEST(JetCorpus, CurrencyIsExactSixtyFourBitFixedPoint) {
  auto rows = scan_all(*open_corpus("jackcess/testIndexCodesV1997.mdb"), "Table8");
  std::map<std::string, archive::Value> by_name;
  for (auto& r : rows) by_name[text_of(r[0])] = r[1];
  EXPECT_EQ(by_name["row16"], archive::Value::currency({-85409824234500}));
  EXPECT_EQ(by_name["row11"], archive::Value::currency({8049833500}));
  EXPECT_EQ(by_name["row19"], archive::Value::currency({-11000}));
  EXPECT_TRUE(by_name["row5"].is_null());
}

TEST(JetCorpus, StalePagesOutsideTheUsageMapAreNotRows) {
  // 257 pages still name "Umsätze" as owner but are no longer in its usage map.
  auto file = open_corpus("mdbtestdata/nwind.mdb");
  EXPECT_EQ(scan_all(*file, "Umsätze").size(), 830u);
}

TEST(JetCorpus, MovedRowsComeBackAtTheirOriginalPlace) {
  auto rows = scan_all(*open_corpus("jackcess/overflowTestV2000.mdb"), "Table1");
  ASSERT_EQ(rows.size(), 7u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::string prefix = "row" + std::to_string(i + 1) + "col";
    bool found = std::any_of(rows[i].begin(), rows[i].end(),
                             [&](const auto& v) { return text_of(v).starts_with(prefix); });
    EXPECT_TRUE(found) << "row " << i + 1 << " out of place";
  }
}

TEST(JetCorpus, DeletedRowsAreSkipped) {
  EXPECT_EQ(scan_all(*open_corpus("jackcess/delTestV2000.mdb"), "Table").size(), 2u);
  auto file = open_corpus("jackcess/testIndexPropertiesV2003.mdb");
  EXPECT_EQ(scan_all(*file, "TableUnique1_temp").size(), 10u);  // beside 15 deleted slots
  EXPECT_EQ(scan_all(*file, "TableIgnoreNulls2").size(), 11u);
}

TEST(JetCorpus, EncryptedPagesAreDecrypted) {
  for (const char* path : {"jackcess-encrypt/db-enc.mdb", "jackcess-encrypt/db97-enc.mdb"}) {
    SCOPED_TRACE(path);
    auto file = open_corpus(path);
    EXPECT_NE(file->header().encryption_key, 0u);
    EXPECT_EQ(scan_all(*file, "Table1").size(), 2u);
  }
}

TEST(JetCorpus, DatabasePasswordDoesNotStopReading) {
  auto file = open_corpus("mdb-reader/V2000_with-password.mdb");
  EXPECT_TRUE(file->header().has_password);
  EXPECT_FALSE(file->user_table_names().empty());
  EXPECT_FALSE(open_corpus("mdbtestdata/nwind.mdb")->header().has_password);
}

TEST(JetCorpus, Jet3TextDecodesEveryWindows1252Byte) {
  auto rows = scan_all(*open_corpus("jackcess/testIndexCodesV1997.mdb"), "Table14");
  std::set<char16_t> seen;
  for (auto& r : rows)
    for (auto& v : r)
      if (v.kind() == ValueKind::Text)
        for (char16_t c : v.as_text()) seen.insert(c);
  // The euro sign, and the five bytes 1252 leaves undefined kept as Windows keeps them.
  for (char16_t c : {u'\u20AC', u'\u0081', u'\u008D', u'\u008F', u'\u0090', u'\u009D', u'\u0178'})
    EXPECT_TRUE(seen.count(c)) << std::hex << int(c);
  EXPECT_FALSE(seen.count(u'\uFFFD'));
}

TEST(JetCorpus, Jet4CompressedAndPlainUnicode) {
  auto rows = scan_all(*open_corpus("jackcess/testUnicodeCompV2003.mdb"), "Table");
  std::set<std::string> texts;
  for (auto& r : rows) texts.insert(text_of(r[1]));
  for (const char* expected : {"only ascii chars", "ääkkösiä", "Мир", "漢字仮名交じり文", "ümlaut"})
    EXPECT_TRUE(texts.count(expected)) << expected;
}

std::size_t longest_binary(const std::vector<std::vector<archive::Value>>& rows) {
  std::size_t longest = 0;
  for (auto& r : rows)
    for (auto& v : r)
      if (v.kind() == ValueKind::Binary) longest = std::max(longest, v.as_binary().size());
  return longest;
}

TEST(JetCorpus, LongValuesAcrossChainsOfPages) {
  EXPECT_EQ(longest_binary(scan_all(*open_corpus("jackcess/test2V2000.mdb"), "MSP_PROJECTS")), 22970u);
  EXPECT_EQ(longest_binary(scan_all(*open_corpus("jackcess/test2V1997.mdb"), "MSP_PROJECTS")), 22970u);
  EXPECT_EQ(longest_binary(scan_all(*open_corpus("fxjollois-donnees/xtreme.mdb"), "Employee")), 153274u);
  std::size_t longest_text = 0;
  for (auto& r : scan_all(*open_corpus("mdb-reader/longtext.accdb"), "Table1"))
    for (auto& v : r)
      if (v.kind() == ValueKind::Text) longest_text = std::max(longest_text, v.as_text().size());
  EXPECT_EQ(longest_text, 5000u);
}

TEST(JetCorpus, NegativeDayCountsAreKeptAsStored) {
  auto rows = scan_all(*open_corpus("jackcess/oldDatesV2007.accdb"), "Table1");
  std::vector<double> days;
  for (auto& r : rows)
    for (auto& v : r)
      if (v.kind() == ValueKind::DateTime) days.push_back(v.as_datetime().days);
  ASSERT_FALSE(days.empty());
  EXPECT_DOUBLE_EQ(*std::min_element(days.begin(), days.end()), -185532.0);
}

TEST(JetCorpus, NumericAndGuidValues) {
  auto numeric = scan_all(*open_corpus("jackcess/fixedNumericTestV2000.mdb"), "test");
  ASSERT_EQ(numeric.size(), 1u);
  ASSERT_EQ(numeric[0][5].kind(), ValueKind::Numeric);
  EXPECT_TRUE(numeric[0][5].as_numeric().negative);
  EXPECT_EQ(numeric[0][5].as_numeric().magnitude, 1u);
  EXPECT_EQ(numeric[0][5].as_numeric().precision, 18);

  auto guids = scan_all(*open_corpus("jackcess/testIndexCodesV1997.mdb"), "Table13");
  auto row0 = std::find_if(guids.begin(), guids.end(), [](auto& r) { return text_of(r[0]) == "row0"; });
  ASSERT_NE(row0, guids.end());
  // {8E39276A-BCA8-4AC4-891E-49911D8438DD}: three little-endian groups, then stored order.
  archive::Guid expected{{0x6A, 0x27, 0x39, 0x8E, 0xA8, 0xBC, 0xC4, 0x4A, 0x89, 0x1E, 0x49, 0x91,
                          0x1D, 0x84, 0x38, 0xDD}};
  EXPECT_EQ((*row0)[1], archive::Value::guid(expected));
}

TEST(JetCorpus, TableDefinitionsGiveColumnsAndPrimaryKeys) {
  auto file = open_corpus("fxjollois-donnees/Comptoir2000.mdb");
  auto def = file->table("detailcommande");  // names match without regard to case
  EXPECT_EQ(def.name, "DetailCommande");
  ASSERT_EQ(def.columns.size(), 5u);
  EXPECT_EQ(def.columns[4].name, "Remise%");
  EXPECT_EQ(def.columns[4].type, archive::FieldType::Single);
  const auto* pk = def.primary_key();
  ASSERT_NE(pk, nullptr);
  ASSERT_EQ(pk->columns.size(), 2u);
  EXPECT_EQ(def.columns[pk->columns[0].column].name, "Nocom");
  EXPECT_EQ(def.columns[pk->columns[1].column].name, "Refprod");
  EXPECT_NE(def.find_column("REMISE%"), nullptr);

  // System tables are hidden from the user list but readable.
  auto names = file->user_table_names();
  EXPECT_EQ(std::count(names.begin(), names.end(), "MSysObjects"), 0);
  EXPECT_GT(scan_all(*file, "MSysObjects").size(), names.size());
}

TEST(JetCorpus, MissingTableIsError3078) {
  auto file = open_corpus("access_parser/test.mdb");
  try {
    file->table("NonEsiste");
    FAIL() << "no error";
  } catch (const archive::ArchiveError& e) {
    EXPECT_EQ(e.number(), 3078);
    EXPECT_EQ(e.description(), "Impossibile trovare la tabella o la query di input 'NonEsiste'.");
  }
}

}  // namespace
}  // namespace tarvik::test

namespace tarvik::test {
namespace {

TEST(JetCorpus, RowsAreReadAgainByTheirRowPointer) {
  // Moved rows included: their pointer is their original place.
  for (auto [path, table] : {std::pair{"jackcess/overflowTestV2000.mdb", "Table1"},
                             std::pair{"fxjollois-donnees/MONDIAL.accdb", "City"}}) {
    SCOPED_TRACE(path);
    auto file = open_corpus(path);
    auto def = file->table(table);
    auto scan = file->scan(def);
    std::vector<std::pair<std::uint32_t, std::vector<archive::Value>>> seen;
    std::vector<archive::Value> row;
    while (scan.next(row)) seen.emplace_back(scan.row_pointer(), row);
    auto reader = file->scan(def);
    for (auto it = seen.rbegin(); it != seen.rend(); ++it) {
      reader.read_at(it->first, row);
      ASSERT_EQ(row, it->second);
    }
  }
}

}  // namespace
}  // namespace tarvik::test
