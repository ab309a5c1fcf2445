// What an aged archive holds besides its rows, read straight from its pages: every trace of years
// of edits the layout promises is found in the sample, in Jet3 and in Jet4, and a scan of each
// table still returns exactly the rows of the fresh archive written from the same sample, in the
// same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "archive-gen/sample/sample_generator.h"
#include "archive/jet/format.h"
#include "archive/jet/jet_file.h"
#include "archive/jet/page_source.h"
#include "archive/jet/row_layout.h"
#include "archive/jet/usage_map.h"
#include "support/raw_pages.h"
#include "support/temp_dir.h"

namespace tarvik::test {
namespace {

using archive::FieldType;
using Bytes = std::vector<std::uint8_t>;
using raw::u16;
using raw::u32;

using raw::kDeleted;
using raw::kPointer;
using raw::RawPages;
using raw::Slot;

// What the sample's aged archive was seen to hold.
struct Traces {
  int deleted_copies = 0, deleted_empty = 0, pointers_back = 0, pointers_forward = 0;
  int part_filled = 0, interleaved = 0, zero_pages = 0, stale_pages = 0, reference_maps = 0;
  int chains_out_of_order = 0, old_rows = 0, dropped_columns = 0, compressed = 0, uncompressed = 0;
};

Traces inspect(const std::filesystem::path& path) {
  const auto file = archive::jet::JetFile::open(path.string());
  const archive::jet::Format& format = file->pages().format();
  const RawPages raw(path, format);
  Traces seen;
  std::map<std::uint32_t, std::string> owner_of;  // data page -> table
  std::set<std::uint32_t> tdefs;
  for (const std::string& name : file->user_table_names()) {
    const archive::jet::TableDef def = file->table(name);
    tdefs.insert(def.tdef_page);
    const std::vector<std::uint32_t> pages = archive::jet::read_usage_map(file->pages(), def.owned_pages_map);
    for (std::uint32_t p : pages) owner_of[p] = name;

    const std::uint32_t map_page = def.owned_pages_map >> 8;
    if (raw.slots(map_page).at(def.owned_pages_map & 0xFF).bytes[0] == 1) ++seen.reference_maps;
    if (def.max_cols > def.columns.size()) ++seen.dropped_columns;

    std::set<Bytes> live;
    std::vector<Bytes> deleted;
    const archive::jet::RowLayout layout(def, format);
    std::vector<archive::jet::Field> fields;
    for (std::size_t i = 0; i < pages.size(); ++i) {
      const std::uint32_t p = pages[i];
      bool bodies_only = true;
      for (const Slot& slot : raw.slots(p)) {
        if (slot.flags == kDeleted) {
          if (slot.bytes.empty()) ++seen.deleted_empty;
          else deleted.emplace_back(slot.bytes.begin(), slot.bytes.end());
          bodies_only = false;
          continue;
        }
        if (slot.flags == kPointer) {
          (u32(slot.bytes.data()) >> 8 < p ? seen.pointers_back : seen.pointers_forward)++;
          bodies_only = false;
          continue;
        }
        if (slot.flags == 0) bodies_only = false;
        live.emplace(slot.bytes.begin(), slot.bytes.end());
        const std::size_t ncols = format.jet3 ? slot.bytes[0] : u16(slot.bytes.data());
        if (ncols < def.max_cols) ++seen.old_rows;
        layout.split(slot.bytes, fields);
        for (std::size_t c = 0; c < def.columns.size(); ++c) {
          const auto& bytes = fields[c].bytes;
          const FieldType type = def.columns[c].type;
          if (type == FieldType::Text && bytes.size() > 2 && !format.jet3)
            (bytes[0] == 0xFF && bytes[1] == 0xFE ? seen.compressed : seen.uncompressed)++;
          if ((type != FieldType::Memo && type != FieldType::Ole) || bytes.size() < 12 || (bytes[3] & 0xC0) != 0)
            continue;
          // A chain: its rows' pages in chain order.
          std::vector<std::uint32_t> chain;
          for (std::uint32_t at = u32(bytes.data() + 4); at != 0 && chain.size() < 10000;) {
            chain.push_back(at >> 8);
            at = u32(raw.slots(at >> 8).at(at & 0xFF).bytes.data());
          }
          if (!std::is_sorted(chain.begin(), chain.end())) ++seen.chains_out_of_order;
        }
      }
      // Pages that hold rows in scan order, the last one aside, left part empty.
      if (!bodies_only && i + 1 < pages.size() && raw.free_space(p) > (format.page_size - format.data_row_table) / 4)
        ++seen.part_filled;
    }
    for (const Bytes& d : deleted)
      if (live.contains(d)) ++seen.deleted_copies;
  }
  // Another table's page between two pages of the same table.
  std::vector<std::string> order;
  for (const auto& [page, table] : owner_of) order.push_back(table);
  for (std::size_t i = 0; i + 2 < order.size(); ++i)
    if (order[i] == order[i + 2] && order[i] != order[i + 1]) ++seen.interleaved;
  for (std::uint32_t p = 1; p < raw.count(); ++p) {
    if (raw.page(p)[0] == 0) ++seen.zero_pages;
    else if (raw.page(p)[0] == 0x01 && tdefs.contains(raw.owner(p)) && !owner_of.contains(p)) ++seen.stale_pages;
  }
  return seen;
}

// Every row of every table, as a scan returns them.
std::map<std::string, std::vector<std::vector<archive::Value>>> all_rows(const std::filesystem::path& path) {
  const auto file = archive::jet::JetFile::open(path.string());
  std::map<std::string, std::vector<std::vector<archive::Value>>> rows;
  for (const std::string& name : file->user_table_names()) {
    auto scan = file->scan(file->table(name));
    std::vector<archive::Value> row;
    while (scan.next(row)) rows[name].push_back(row);
  }
  return rows;
}

struct Case {
  archive_gen::FileFormat format;
  std::uint64_t seed;
};

class AgedLayout : public ::testing::TestWithParam<Case> {};

TEST_P(AgedLayout, HoldsEveryTraceOfEditsAndTheFreshArchivesRows) {
  TempDir folder;
  archive_gen::sample::SampleOptions options;
  options.ansi_texts = GetParam().format == archive_gen::FileFormat::Jet3;
  options.writer.format = GetParam().format;
  options.output_path = (folder / "fresh.mdb").string();
  archive_gen::sample::write_sample_archive(options);
  options.writer.layout = archive_gen::Layout::Aged;
  options.writer.layout_seed = GetParam().seed;
  options.output_path = (folder / "aged.mdb").string();
  archive_gen::sample::write_sample_archive(options);

  const Traces seen = inspect(folder / "aged.mdb");
  EXPECT_GT(seen.deleted_copies, 0) << "deleted rows that copy a live one";
  EXPECT_GT(seen.deleted_empty, 0) << "deleted rows whose bytes are gone";
  EXPECT_GT(seen.pointers_back, 0) << "rows moved to an earlier page";
  EXPECT_GT(seen.pointers_forward, 0) << "rows moved to a later page";
  EXPECT_GT(seen.part_filled, 0) << "pages left part empty";
  EXPECT_GT(seen.interleaved, 0) << "tables' pages interleaved";
  EXPECT_GT(seen.zero_pages, 0) << "freed pages";
  EXPECT_GT(seen.stale_pages, 0) << "freed pages holding a table's old rows";
  EXPECT_GT(seen.reference_maps, 0) << "reference usage maps";
  EXPECT_GT(seen.chains_out_of_order, 0) << "long-value chains out of the file's order";
  EXPECT_GT(seen.old_rows, 0) << "rows written before columns were added";
  EXPECT_GT(seen.dropped_columns, 0) << "tables with dropped columns";
  if (GetParam().format == archive_gen::FileFormat::Jet4) {
    EXPECT_GT(seen.compressed, 0);
    EXPECT_GT(seen.uncompressed, 0) << "texts stored uncompressed beside compressed ones";
  }
  const Traces fresh = inspect(folder / "fresh.mdb");
  EXPECT_EQ(fresh.deleted_copies + fresh.pointers_back + fresh.pointers_forward + fresh.old_rows, 0);

  EXPECT_TRUE(all_rows(folder / "aged.mdb") == all_rows(folder / "fresh.mdb"));
}

INSTANTIATE_TEST_SUITE_P(Formats, AgedLayout,
                         ::testing::Values(Case{archive_gen::FileFormat::Jet4, 1}, Case{archive_gen::FileFormat::Jet4, 2},
                                           Case{archive_gen::FileFormat::Jet3, 1}, Case{archive_gen::FileFormat::Jet3, 3}));

}  // namespace
}  // namespace tarvik::test
