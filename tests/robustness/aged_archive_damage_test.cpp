// Damage where years of edits leave their traces: a moved row's pointer that loops back to itself,
// leads outside the file, into another table's page or to a live row, and a row that claims more
// columns than its table ever had. Each is the damaged-archive error (3049): the export stops and
// leaves nothing in the folder, as for any damaged archive.
#include <gtest/gtest.h>

#include <string>

#include "archive-gen/sample/sample_generator.h"
#include "archive/jet/jet_file.h"
#include "archive/jet/page_source.h"
#include "archive/jet/usage_map.h"
#include "robustness/export_fixture.h"
#include "support/raw_pages.h"

namespace tarvik::test {
namespace {

using raw::kPointer;
using raw::RawPages;
using raw::Slot;

struct Place {
  std::uint32_t page = 0;
  std::uint8_t row = 0;
  std::size_t offset = 0;  // of the row's bytes in the file
  std::uint32_t pointer() const { return page << 8 | row; }
};

class AgedArchiveDamage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempDir();
    archive_gen::sample::SampleOptions options;
    options.writer.layout = archive_gen::Layout::Aged;
    options.writer.layout_seed = 1;
    options.output_path = (*folder_ / "aged.mdb").string();
    archive_gen::sample::write_sample_archive(options);
  }
  static void TearDownTestSuite() { delete folder_; }

  static std::filesystem::path archive() { return *folder_ / "aged.mdb"; }

  // The first row of `table` whose offset entry carries `flags`.
  static Place first_row(const std::string& table, std::uint16_t flags) {
    const auto file = archive::jet::JetFile::open(archive().string());
    const RawPages pages(archive(), file->pages().format());
    for (const std::uint32_t p : archive::jet::read_usage_map(file->pages(), file->table(table).owned_pages_map)) {
      const std::vector<Slot> slots = pages.slots(p);
      for (std::size_t r = 0; r < slots.size(); ++r)
        if (slots[r].flags == flags && !slots[r].bytes.empty())
          return {p, static_cast<std::uint8_t>(r), slots[r].offset};
    }
    throw std::runtime_error("no such row in " + table);
  }

  // Exports the archive with four bytes at `offset` replaced by `value`.
  static void expect_damaged(std::size_t offset, std::uint32_t value, std::size_t width, const std::string& what) {
    SCOPED_TRACE(what);
    std::vector<std::uint8_t> bytes = read_file_bytes(archive());
    for (std::size_t i = 0; i < width; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    TempDir run;
    write_file_bytes(run / kArchiveName, bytes);
    const ToolResult result = run_tool(export_args(run.path(), run / "ProvaExport.txt"));
    EXPECT_FALSE(result.crashed()) << result.output;
    EXPECT_FALSE(result.exited_with(0));
    EXPECT_NE(result.output.find("3049"), std::string::npos) << result.output;
    EXPECT_EQ(folder_entries(run.path()), std::vector<std::string>{kArchiveName});
  }

  static TempDir* folder_;
};

TempDir* AgedArchiveDamage::folder_ = nullptr;

TEST_F(AgedArchiveDamage, TheIntactArchiveExports) {
  TempDir run;
  std::filesystem::copy_file(archive(), run / kArchiveName);
  const ToolResult result = run_tool(export_args(run.path(), run / "ProvaExport.txt"));
  EXPECT_TRUE(result.exited_with(0)) << result.output;
}

TEST_F(AgedArchiveDamage, BrokenMovedRowPointersAreDamage) {
  const Place pointer = first_row("CliFor", kPointer);
  const Place live = first_row("CliFor", 0);
  const Place other_table = first_row("Magazzino", 0);
  const std::uint32_t pages = static_cast<std::uint32_t>(std::filesystem::file_size(archive()) / 4096);
  expect_damaged(pointer.offset, pointer.pointer(), 4, "a pointer to itself");
  expect_damaged(pointer.offset, (pages + 5) << 8, 4, "a pointer past the end of the file");
  expect_damaged(pointer.offset, other_table.pointer(), 4, "a pointer into another table's page");
  expect_damaged(pointer.offset, live.pointer(), 4, "a pointer to a live row");
}

TEST_F(AgedArchiveDamage, ARowWithMoreColumnsThanItsTableIsDamage) {
  // One column more than the table ever had, its null-mask bit in the row's last mask byte: the
  // row's structure still holds, only its count is wrong.
  const auto file = archive::jet::JetFile::open(archive().string());
  for (const char* table : {"CliFor", "Magazzino", "TestataFatture", "RigheFatture"}) {
    const std::uint16_t columns = file->table(table).max_cols;
    if (columns % 8 == 0) continue;
    expect_damaged(first_row(table, 0).offset, columns + 1u, 2, std::string(table) + ": one column too many");
    return;
  }
  FAIL() << "every table's column count fills its null mask";
}

}  // namespace
}  // namespace tarvik::test
