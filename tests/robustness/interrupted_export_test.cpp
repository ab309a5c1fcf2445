// Exports stopped or contested in the middle: the process killed outright, and a second export
// of the same archive started while the first still runs. An export is held in the middle by not
// reading its progress messages: once the one-page pipe they go to is full, it waits at the next.
#include <gtest/gtest.h>
#include <signal.h>

#include "robustness/export_fixture.h"

namespace tarvik::test {
namespace {

// Scale 10: about 37000 records, so the progress messages after the first one fill the pipe many
// times over and the export cannot end while a test holds it.
constexpr int kScale = 10;
constexpr const char* kFirstProgress = "Avanzamento: ";

class InterruptedExport : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(sample_archive(kScale), archive());
    before_ = fingerprint(archive());
  }
  void TearDown() override { EXPECT_EQ(fingerprint(archive()), before_) << "the archive was written to"; }

  std::filesystem::path archive() const { return folder_ / kArchiveName; }

  TempDir folder_;
  FileFingerprint before_;
};

TEST_F(InterruptedExport, KilledMidExportLeavesNoTransferFile) {
  const auto output = folder_ / "ProvaExport.txt";
  RunningTool running(export_args(folder_.path(), output));
  // Progress is reported only once the transfer file has been created and records are written.
  ASSERT_TRUE(running.read_until(kFirstProgress));
  const ToolResult killed = running.kill_and_wait();
  ASSERT_EQ(killed.signal, SIGKILL) << "the export ended before it could be killed: " << killed.output;

  EXPECT_FALSE(std::filesystem::exists(output));
  // What a kill can leave is the unfinished temporary file beside the path, named after it; it
  // is never taken for a transfer file, and the next export to the same path is not hindered.
  for (const std::string& name : folder_entries(folder_.path())) {
    if (name == kArchiveName) continue;
    EXPECT_TRUE(name.starts_with("ProvaExport.txt.tmp-")) << name;
  }

  const ToolResult again = run_tool(export_args(folder_.path(), output));
  EXPECT_TRUE(again.exited_with(0)) << again.output;
  EXPECT_TRUE(transfer_file_verifies(output));
}

TEST_F(InterruptedExport, SecondExportOfTheSameArchiveIsRefusedAsInUse) {
  const auto first_output = folder_ / "prima.txt";
  const auto second_output = folder_ / "seconda.txt";
  RunningTool first(export_args(folder_.path(), first_output));
  ASSERT_TRUE(first.read_until(kFirstProgress));

  const ToolResult second = run_tool(export_args(folder_.path(), second_output));
  EXPECT_FALSE(second.crashed()) << second.output;
  EXPECT_TRUE(second.exited_with(2)) << second.output;
  EXPECT_NE(second.output.find(std::string(kUnexpectedError) + " 3045 "), std::string::npos) << second.output;
  EXPECT_NE(second.output.find("già in uso"), std::string::npos) << second.output;
  EXPECT_FALSE(std::filesystem::exists(second_output));

  // The first export was not disturbed: it completes and its file keeps the layout.
  const ToolResult finished = first.finish();
  EXPECT_TRUE(finished.exited_with(0)) << finished.output;
  EXPECT_TRUE(transfer_file_verifies(first_output));
}

}  // namespace
}  // namespace tarvik::test
