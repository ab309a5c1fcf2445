// Exports ended from outside: the process killed at several moments (its temporary file is then a
// leftover the next export to the same path removes), a leftover of a run still going (which must
// be left alone), and the archive cut short by another program while it is read (the run must end
// with the damaged-archive error, leaving nothing behind, instead of dying on a signal).
#include <gtest/gtest.h>
#include <signal.h>

#include "robustness/export_fixture.h"

namespace tarvik::test {
namespace {

constexpr int kScale = 10;  // long enough to be held in the middle
constexpr const char* kProgress = "Avanzamento: ";
constexpr const char* kOutputName = "ProvaExport.txt";

class ExportEndedFromOutside : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::copy_file(sample_archive(kScale), archive()); }
  std::filesystem::path archive() const { return folder_ / kArchiveName; }
  std::filesystem::path output() const { return folder_ / kOutputName; }
  std::vector<std::string> temporary_files() const {
    std::vector<std::string> found;
    for (const std::string& name : folder_entries(folder_.path()))
      if (name.starts_with(std::string(kOutputName) + ".tmp-")) found.push_back(name);
    return found;
  }
  TempDir folder_;
};

TEST_F(ExportEndedFromOutside, KillsAtSeveralMomentsLeaveNothingAfterTheNextExport) {
  // Killed once the temporary file exists (first progress), further on, and repeatedly.
  for (const std::string moment : {"Avanzamento: ", "Avanzamento: 4000/", "Avanzamento: ", "Avanzamento: 20000/"}) {
    SCOPED_TRACE("killed at " + moment);
    RunningTool running(export_args(folder_.path(), output()));
    ASSERT_TRUE(running.read_until(moment));
    ASSERT_EQ(running.kill_and_wait().signal, SIGKILL);
    EXPECT_FALSE(std::filesystem::exists(output()));
  }
  ASSERT_GE(temporary_files().size(), 1u) << "the kills left no temporary file: this test tests nothing";

  const ToolResult again = run_tool(export_args(folder_.path(), output()));
  EXPECT_TRUE(again.exited_with(0)) << again.output;
  EXPECT_EQ(folder_entries(folder_.path()), (std::vector<std::string>{kOutputName, kArchiveName}));
  EXPECT_TRUE(transfer_file_verifies(output()));
}

TEST_F(ExportEndedFromOutside, TheTemporaryFileOfARunStillGoingIsLeftAlone) {
  // A second archive, so that the second run is not refused as in use, writing to the same path.
  TempDir other;
  std::filesystem::copy_file(sample_archive(1), other / kArchiveName);
  RunningTool first(export_args(folder_.path(), output()));
  ASSERT_TRUE(first.read_until(kProgress));
  const std::vector<std::string> live = temporary_files();
  ASSERT_EQ(live.size(), 1u);

  const ToolResult second = run_tool(export_args(other.path(), output()));
  EXPECT_TRUE(second.exited_with(0)) << second.output;
  EXPECT_TRUE(std::filesystem::exists(folder_ / live[0])) << "a live run's temporary file was removed";

  const ToolResult finished = first.finish();
  EXPECT_TRUE(finished.exited_with(0)) << finished.output;
  EXPECT_TRUE(transfer_file_verifies(output()));
  EXPECT_TRUE(temporary_files().empty());
}

TEST_F(ExportEndedFromOutside, ArchiveCutShortDuringTheExportEndsWithDamagedArchive) {
  RunningTool running(export_args(folder_.path(), output()));
  ASSERT_TRUE(running.read_until(kProgress));
  // Another program cuts the archive to its first 64 pages while the export reads it.
  std::filesystem::resize_file(archive(), 64 * 4096);

  const ToolResult result = running.finish();
  EXPECT_FALSE(result.crashed()) << result.output;
  EXPECT_EQ(result.signal, 0) << "the export died on a signal";
  EXPECT_TRUE(result.exited_with(2)) << result.output;
  EXPECT_NE(result.output.find(std::string(kUnexpectedError) + " 3049 "), std::string::npos) << result.output;
  EXPECT_EQ(folder_entries(folder_.path()), std::vector<std::string>{kArchiveName});
}

}  // namespace
}  // namespace tarvik::test
