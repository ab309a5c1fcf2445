// The whole export over damaged archives: cut short at many points, and with pages of every kind
// overwritten by garbage. Whatever the damage, the run ends with a documented exit code and never
// a crash; a failed run leaves nothing in the output folder; a run that succeeds writes exactly
// the transfer file of the intact archive (damage it did not read), never a different one; and
// the archive is never written to.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "robustness/export_fixture.h"

namespace tarvik::test {
namespace {

constexpr std::size_t kPageSize = 4096;  // the sample archives are Jet4

class DamagedArchiveExport : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    intact_ = new std::vector<std::uint8_t>(read_file_bytes(sample_archive(1)));
    TempDir folder;
    write_file_bytes(folder / kArchiveName, *intact_);
    const ToolResult result = run_tool(export_args(folder.path(), folder / "intact.txt"));
    ASSERT_TRUE(result.exited_with(0)) << result.output;
    ASSERT_TRUE(transfer_file_verifies(folder / "intact.txt"));
    intact_export_ = new std::vector<std::uint8_t>(read_file_bytes(folder / "intact.txt"));
  }
  static void TearDownTestSuite() {
    delete intact_;
    delete intact_export_;
  }

  // Exports `damaged` as the archive of a fresh folder and checks everything a run must
  // guarantee whatever its outcome; returns the exit code.
  static int export_damaged(const std::vector<std::uint8_t>& damaged, const std::string& what) {
    SCOPED_TRACE(what);
    TempDir folder;
    const auto archive = folder / kArchiveName;
    const auto output = folder / "ProvaExport.txt";
    write_file_bytes(archive, damaged);
    const FileFingerprint before = fingerprint(archive);

    const ToolResult result = run_tool(export_args(folder.path(), output));

    EXPECT_FALSE(result.crashed()) << result.output;
    EXPECT_TRUE(result.exited_with(0) || result.exited_with(1) || result.exited_with(2))
        << "exit " << result.exit_code << ", signal " << result.signal << "\n" << result.output;
    EXPECT_EQ(fingerprint(archive), before);
    if (result.exited_with(0)) {
      EXPECT_TRUE(read_file_bytes(output) == *intact_export_)
          << "a damaged archive exported into a transfer file that differs from the intact one";
      EXPECT_EQ(folder_entries(folder.path()), (std::vector<std::string>{"ProvaExport.html", "ProvaExport.txt", kArchiveName}));
    } else {
      // Nothing at the transfer path, and no partial file under another name either.
      EXPECT_EQ(folder_entries(folder.path()), std::vector<std::string>{kArchiveName});
      // A refusal shows its message or the checks' panel; an unexpected error its number.
      EXPECT_FALSE(result.output.empty());
      if (result.exited_with(2)) {
        EXPECT_NE(result.output.find(kUnexpectedError), std::string::npos) << result.output;
      }
    }
    return result.exit_code;
  }

  static std::vector<std::uint8_t>* intact_;
  static std::vector<std::uint8_t>* intact_export_;
};

std::vector<std::uint8_t>* DamagedArchiveExport::intact_ = nullptr;
std::vector<std::uint8_t>* DamagedArchiveExport::intact_export_ = nullptr;

TEST_F(DamagedArchiveExport, CutShortAnywhere) {
  const std::size_t size = intact_->size();
  // Cuts spread over the file, off page boundaries; cuts at and just inside page boundaries;
  // and the last page losing only its final byte.
  std::vector<std::size_t> cuts = {0, 100, kPageSize, 3 * kPageSize, 3 * kPageSize + 1,
                                   size - kPageSize, size - kPageSize + 1, size - 1};
  for (std::size_t k = 1; k < 24; ++k) cuts.push_back(size * k / 24 + 777 * k % kPageSize);
  int failed = 0;
  for (std::size_t cut : cuts) {
    std::vector<std::uint8_t> damaged(intact_->begin(), intact_->begin() + std::ptrdiff_t(cut));
    failed += export_damaged(damaged, "cut at byte " + std::to_string(cut) + " of " + std::to_string(size)) != 0;
  }
  // Every cut loses pages the export reads: none of them may export.
  EXPECT_EQ(failed, int(cuts.size()));
}

TEST_F(DamagedArchiveExport, PagesOverwrittenByGarbage) {
  // Every kind of page the archive holds, a few pages of each: catalog, table definitions, data
  // pages (rows, long values, usage maps) and index pages.
  const std::size_t pages = intact_->size() / kPageSize;
  std::map<std::uint8_t, std::vector<std::size_t>> by_type;
  for (std::size_t page = 1; page < pages; ++page) by_type[(*intact_)[page * kPageSize]].push_back(page);
  std::vector<std::size_t> chosen = {1, 2};
  for (const auto& [type, list] : by_type)
    for (std::size_t k = 0; k < 6 && k < list.size(); ++k) chosen.push_back(list[k * list.size() / 6]);

  std::mt19937 random(20240607);
  for (std::size_t page : chosen) {
    std::vector<std::uint8_t> damaged = *intact_;
    for (std::size_t i = 0; i < kPageSize; ++i) damaged[page * kPageSize + i] = std::uint8_t(random());
    export_damaged(damaged, "garbage on page " + std::to_string(page) + " of type " +
                                std::to_string((*intact_)[page * kPageSize]));
  }
}

TEST_F(DamagedArchiveExport, DataPageOfATableZeroed) {
  // A block of zeros where rows were (a disk that lost a sector run): the rows are gone, and the
  // export must say so rather than write the table without them.
  const std::size_t pages = intact_->size() / kPageSize;
  int failed = 0, tried = 0;
  for (std::size_t page = 3; page < pages && tried < 8; ++page) {
    const std::uint8_t* p = intact_->data() + page * kPageSize;
    const bool table_rows = p[0] == 0x01 && !(p[4] == 'L' && p[5] == 'V' && p[6] == 'A' && p[7] == 'L') &&
                            (p[4] | p[5] | p[6] | p[7]) != 0;
    if (!table_rows) continue;
    ++tried;
    std::vector<std::uint8_t> damaged = *intact_;
    std::fill(damaged.begin() + std::ptrdiff_t(page * kPageSize), damaged.begin() + std::ptrdiff_t((page + 1) * kPageSize), 0);
    failed += export_damaged(damaged, "zeros on data page " + std::to_string(page)) != 0;
  }
  ASSERT_GT(tried, 0);
  EXPECT_EQ(failed, tried);
}

}  // namespace
}  // namespace tarvik::test
