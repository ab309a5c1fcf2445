// Damaged archives: each kind of damage gives its numbered error, never a crash or a hang.
#include <gtest/gtest.h>

#include <cstring>

#include "archive/archive_error.h"
#include "archive/jet/data_page.h"
#include "archive/jet/page_source.h"
#include "archive/jet/row_layout.h"
#include "archive/jet/usage_map.h"
#include "archive/corpus.h"
#include "archive/scan_helpers.h"

namespace tarvik::test {
namespace {

using archive::ArchiveError;
using archive::jet::JetFile;

constexpr std::size_t kJet4Page = 4096;

// Opens the bytes and reads every row of every table; returns the error number, 0 when all read.
int read_everything(std::vector<std::uint8_t> bytes) {
  try {
    auto file = JetFile::from_memory(std::move(bytes), "danneggiato.mdb");
    for (const auto& name : file->user_table_names()) scan_all(*file, name);
  } catch (const ArchiveError& e) {
    return e.number();
  }
  return 0;
}

void put_u32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = std::uint8_t(v >> (8 * i));
}

// File offset of the first byte of row `row` on page `page` (Jet4).
std::size_t row_offset(const std::vector<std::uint8_t>& bytes, std::uint32_t page, std::uint8_t row) {
  std::size_t base = std::size_t(page) * kJet4Page;
  std::uint16_t entry = std::uint16_t(bytes[base + 14 + 2 * row] | (bytes[base + 15 + 2 * row] << 8));
  return base + (entry & 0x1FFF);
}

TEST(DamagedArchive, NotAJetFileIs3343) {
  std::vector<std::uint8_t> text(8192, 'x');
  EXPECT_EQ(read_everything(text), 3343);
  auto bytes = read_bytes(corpus_file("fxjollois-donnees/Comptoir2000.mdb"));
  bytes.resize(100);
  EXPECT_EQ(read_everything(bytes), 3343);  // shorter than its header
  bytes = read_bytes(corpus_file("fxjollois-donnees/Comptoir2000.mdb"));
  bytes[0x14] = 9;  // a version no Access wrote
  EXPECT_EQ(read_everything(bytes), 3343);
}

TEST(DamagedArchive, TruncatedAnywhereGivesAnErrorOrReadsWhatIsThere) {
  const auto whole = read_bytes(corpus_file("fxjollois-donnees/Comptoir2000.mdb"));
  int errors = 0;
  for (std::size_t cut = 0; cut < whole.size(); cut += 9 * kJet4Page + 123) {
    std::vector<std::uint8_t> bytes(whole.begin(), whole.begin() + cut);
    int number = read_everything(bytes);
    EXPECT_TRUE(number == 0 || number == 3343 || number == 3049) << "cut at " << cut << ": " << number;
    errors += number != 0;
  }
  EXPECT_GT(errors, 0);
  // Cut right after the catalog's definition: the catalog's own pages are gone.
  EXPECT_EQ(read_everything(std::vector<std::uint8_t>(whole.begin(), whole.begin() + 3 * kJet4Page)), 3049);
}

TEST(DamagedArchive, CorruptedTableDefinitionIs3049) {
  auto bytes = read_bytes(corpus_file("fxjollois-donnees/Comptoir2000.mdb"));
  auto file = JetFile::from_memory(bytes, "x.mdb");
  std::uint32_t tdef = file->table("Commande").tdef_page;
  auto broken = bytes;
  broken[std::size_t(tdef) * kJet4Page + 45] = 0xFF;  // live column count far beyond the page
  broken[std::size_t(tdef) * kJet4Page + 46] = 0xFF;
  EXPECT_EQ(read_everything(broken), 3049);
  broken = bytes;
  put_u32(broken, std::size_t(tdef) * kJet4Page + 4, tdef);  // continuation loops to itself
  EXPECT_EQ(read_everything(broken), 3049);
}

TEST(DamagedArchive, UsageMapPointingOutOfTheFileIs3049) {
  auto bytes = read_bytes(corpus_file("fxjollois-donnees/Comptoir2000.mdb"));
  auto file = JetFile::from_memory(bytes, "x.mdb");
  std::uint32_t map = file->table("Commande").owned_pages_map;
  std::size_t at = row_offset(bytes, map >> 8, std::uint8_t(map & 0xFF));
  ASSERT_EQ(bytes[at], 0) << "expected an inline map";
  put_u32(bytes, at + 1, 0x00FFF000);  // start page far beyond the end of the file
  EXPECT_EQ(read_everything(bytes), 3049);
}

TEST(DamagedArchive, LongValueChainThatLoopsIs3049) {
  auto bytes = read_bytes(corpus_file("jackcess/test2V2000.mdb"));
  auto file = JetFile::from_memory(bytes, "x.mdb");
  auto def = file->table("MSP_PROJECTS");
  const auto& pages = file->pages();
  auto data_pages = archive::jet::read_usage_map(pages, def.owned_pages_map);
  ASSERT_FALSE(data_pages.empty());
  archive::jet::DataPage page(pages.page(data_pages[0]), pages.format(), data_pages[0]);
  std::vector<archive::jet::Field> fields;
  archive::jet::RowLayout(def, pages.format()).split(page.row(0).bytes, fields);
  // The first OLE value stored as a chain (kind bits 0x00 in the header's top byte).
  std::uint32_t first_link = 0;
  for (std::size_t i = 0; i < def.columns.size(); ++i)
    if (def.columns[i].type == archive::FieldType::Ole && fields[i].bytes.size() >= 12 &&
        (fields[i].bytes[3] & 0xC0) == 0)
      first_link = archive::jet::load_u32(fields[i].bytes.data() + 4);
  ASSERT_NE(first_link, 0u);
  put_u32(bytes, row_offset(bytes, first_link >> 8, std::uint8_t(first_link & 0xFF)), first_link);
  EXPECT_EQ(read_everything(bytes), 3049);
}

TEST(DamagedArchive, GarbagePagesNeverCrash) {
  const auto whole = read_bytes(corpus_file("fxjollois-donnees/Gymnase2000.mdb"));
  std::uint32_t seed = 12345;
  for (std::size_t page = 2; page * kJet4Page < whole.size(); page += 3) {
    auto bytes = whole;
    for (std::size_t i = 0; i < kJet4Page; ++i) {
      seed = seed * 1103515245u + 12345u;
      bytes[page * kJet4Page + i] = std::uint8_t(seed >> 16);
    }
    int number = read_everything(bytes);
    EXPECT_TRUE(number == 0 || number == 3343 || number == 3049) << "page " << page << ": " << number;
  }
}

TEST(DamagedArchive, MissingOrUnreadableFile) {
  try {
    JetFile::open("/nonexistent/Tarvik.mdb");
    FAIL();
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.number(), 3024);
  }
  try {
    JetFile::open(TARVIK_CORPUS_DIR);  // a folder, not a file
    FAIL();
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.number(), 3051);
  }
}

}  // namespace
}  // namespace tarvik::test
