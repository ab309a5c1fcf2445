// The leaves of Access's own indexes: every index of every corpus archive lists each row of its
// table once, by a pointer the table's scan also gives; damaged index pages give the
// damaged-archive error, never a crash or a loop.
#include "archive/jet/index_leaves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "archive/archive_error.h"
#include "archive/jet/format.h"
#include "archive/jet/jet_file.h"
#include "archive/jet/page_source.h"
#include "archive/corpus.h"

namespace tarvik::test {
namespace {

using archive::ArchiveError;
using archive::Value;
using archive::jet::Index;
using archive::jet::IndexEntry;
using archive::jet::JetFile;
using archive::jet::TableDef;

// The pointers of the rows a scan of the table returns, in scan order.
std::vector<std::uint32_t> scanned_pointers(const JetFile& file, const TableDef& def) {
  auto scan = file.scan(def);
  scan.select_columns({});
  std::vector<std::uint32_t> pointers;
  std::vector<Value> row;
  while (scan.next(row)) pointers.push_back(scan.row_pointer());
  return pointers;
}

TEST(IndexLeaves, EveryIndexOfTheCorpusPointsOnceToEachRowOfItsTable) {
  std::size_t jet3_entries = 0, jet4_entries = 0;
  for (const auto& item : std::filesystem::recursive_directory_iterator(TARVIK_CORPUS_DIR)) {
    const auto ext = item.path().extension();
    if (ext != ".mdb" && ext != ".accdb") continue;
    SCOPED_TRACE(item.path().string());
    auto file = JetFile::open(item.path().string());
    for (const auto& entry : file->catalog()) {
      if (!entry.is_table()) continue;
      const TableDef def = file->table_at(entry.tdef_page(), entry.name);
      std::vector<std::uint32_t> rows = scanned_pointers(*file, def);
      std::sort(rows.begin(), rows.end());
      std::set<std::uint32_t> roots;
      for (const Index& index : def.indexes) {
        if (!roots.insert(index.root_page).second) continue;  // a foreign key sharing another's pages
        SCOPED_TRACE(def.name + " / " + index.name);
        const std::vector<IndexEntry> entries = archive::jet::read_index_entries(file->pages(), def, index);
        (file->header().format->jet3 ? jet3_entries : jet4_entries) += entries.size();
        std::vector<std::uint32_t> pointed;
        for (const IndexEntry& e : entries) pointed.push_back(e.row_pointer);
        std::sort(pointed.begin(), pointed.end());
        if (index.ignore_nulls) {
          EXPECT_TRUE(std::includes(rows.begin(), rows.end(), pointed.begin(), pointed.end()));
        } else {
          EXPECT_EQ(pointed, rows);
        }
      }
    }
  }
  EXPECT_GT(jet3_entries, 0u);
  EXPECT_GT(jet4_entries, 0u);
}

// An archive whose index pages are damaged in one way each: reading the index gives 3049.
class DamagedIndex : public ::testing::Test {
 protected:
  // The index of the corpus file whose top page is an intermediate page, so that the damage can
  // reach every step: the descent, the leaves' chain, the entries.
  void SetUp() override {
    original_ = read_bytes(corpus_file("fxjollois-donnees/xtreme.mdb"));
    auto file = JetFile::from_memory(original_, "x.mdb");
    for (const auto& name : file->user_table_names()) {
      const TableDef def = file->table(name);
      for (const Index& index : def.indexes) {
        if (page(original_, index.root_page)[0] != kIntermediate) continue;
        table_ = name;
        index_ = index.name;
        root_ = index.root_page;
        return;
      }
    }
    FAIL() << "no index with intermediate pages";
  }

  static std::uint8_t* page(std::vector<std::uint8_t>& bytes, std::uint32_t n) { return bytes.data() + n * f().page_size; }
  static const archive::jet::Format& f() { return archive::jet::jet4_format(); }
  static std::uint32_t u32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
  static void put_u32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
  }

  // The first leaf, down the first entries' child pages (big-endian, the entry's last 4 bytes).
  std::uint32_t first_leaf(std::vector<std::uint8_t>& bytes) const {
    std::uint32_t n = root_;
    while (page(bytes, n)[0] == kIntermediate) {
      const std::uint8_t* p = page(bytes, n);
      std::size_t end = 1;
      while (!(p[f().index_entry_mask + end / 8] & (1u << (end % 8)))) ++end;
      const std::uint8_t* child = p + f().index_first_entry() + end - 4;
      n = (std::uint32_t(child[0]) << 24) | (child[1] << 16) | (child[2] << 8) | child[3];
    }
    return n;
  }

  // The error number reading the index gives, 0 when it reads.
  int read_index(std::vector<std::uint8_t> bytes) const {
    try {
      auto file = JetFile::from_memory(std::move(bytes), "danneggiato.mdb");
      const TableDef def = file->table(table_);
      for (const Index& index : def.indexes)
        if (index.name == index_) archive::jet::read_index_entries(file->pages(), def, index);
    } catch (const ArchiveError& e) {
      return e.number();
    }
    return 0;
  }

  static constexpr std::uint8_t kIntermediate = 0x03;
  std::vector<std::uint8_t> original_;
  std::string table_, index_;
  std::uint32_t root_ = 0;
};

TEST_F(DamagedIndex, TheUndamagedIndexReads) { EXPECT_EQ(read_index(original_), 0); }

TEST_F(DamagedIndex, ATopPageOfAnotherKindOrTableIs3049) {
  auto bytes = original_;
  page(bytes, root_)[0] = 0x01;  // a data page
  EXPECT_EQ(read_index(bytes), 3049);
  bytes = original_;
  put_u32(page(bytes, root_) + 4, u32(page(bytes, root_) + 4) + 1);  // another table's
  EXPECT_EQ(read_index(bytes), 3049);
}

TEST_F(DamagedIndex, LoopsAmongPagesAre3049) {
  auto bytes = original_;
  const std::uint32_t leaf = first_leaf(bytes);
  put_u32(page(bytes, leaf) + f().index_next_page, leaf);  // the leaf's next is itself
  EXPECT_EQ(read_index(bytes), 3049);
  bytes = original_;
  // The top page's first child is the top page again: the descent never meets a leaf.
  std::uint8_t* top = page(bytes, root_);
  std::size_t end = 1;
  while (!(top[f().index_entry_mask + end / 8] & (1u << (end % 8)))) ++end;
  std::uint8_t* child = top + f().index_first_entry() + end - 4;
  child[0] = std::uint8_t(root_ >> 24), child[1] = std::uint8_t(root_ >> 16);
  child[2] = std::uint8_t(root_ >> 8), child[3] = std::uint8_t(root_);
  EXPECT_EQ(read_index(bytes), 3049);
}

TEST_F(DamagedIndex, EntriesBeyondTheirPageOrOutOfOrderAre3049) {
  auto bytes = original_;
  const std::uint32_t leaf = first_leaf(bytes);
  std::uint8_t* p = page(bytes, leaf);
  // The leaf's one entry ends past the page's end, and no leaf follows.
  std::fill(p + f().index_entry_mask, p + f().index_first_entry(), 0);
  p[f().index_first_entry() - 1] = 0x80;
  put_u32(p + f().index_next_page, 0);
  EXPECT_EQ(read_index(bytes), 3049);
  bytes = original_;
  p = page(bytes, leaf);
  p[f().index_prefix_length] = 0xFF, p[f().index_prefix_length + 1] = 0x0F;  // a prefix longer than the first entry
  EXPECT_EQ(read_index(bytes), 3049);
  bytes = original_;
  p = page(bytes, leaf);
  p[f().index_prefix_length] = 0, p[f().index_prefix_length + 1] = 0;
  p[f().index_first_entry()] = 0xFF;  // the first key now sorts after the second
  EXPECT_EQ(read_index(bytes), 3049);
}

}  // namespace
}  // namespace tarvik::test
