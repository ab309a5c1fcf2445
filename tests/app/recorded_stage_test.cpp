// Every stage of the run plan recorded ahead and copied in gives what running it straight into the
// transfer file gives: the same bytes, the same progress ticks and the same block in the report,
// with its changed values and left-out rows; with the recording kept in memory, spilled to
// scratch files, or (a dry run) with no bytes kept at all.
#include "app/ahead/recorded_stage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "app/run_archives.h"
#include "app/run_context.h"
#include "app/run_report.h"
#include "support/recording_window.h"
#include "support/temp_dir.h"
#include "transfer/folder_files.h"

namespace tarvik::test {
namespace {

struct RunResult {
  std::string bytes;
  std::int32_t done = 0;
  std::vector<std::string> blocks;  // each block's report in words
};

std::string describe(const report::BlockReport& block) {
  std::string text = block.name + " " + std::to_string(block.written) + " left out " +
                     std::to_string(block.left_out.count()) + " changed " + std::to_string(block.changed.count());
  for (const report::ChangedValue& value : block.changed.shown()) text += " | " + value.field + " " + value.key + " " + value.change;
  return text;
}

// Writes every stage in order; with `recorded`, every stage after the condition codes is
// recorded with a memory budget of `budget` (none: a dry run keeping no bytes) and copied in.
RunResult run_plan(const std::filesystem::path& archive, const std::filesystem::path& folder, bool recorded,
                   std::optional<std::size_t> budget) {
  RecordingWindow window;
  app::RunContext context(window, folder / "ProvaExport.txt");
  context.open_archive = archive::Database::open(archive.string());
  context.transfer_file = budget || !recorded ? std::make_unique<transfer::TransferWriter>(context.transfer_path)
                                              : transfer::TransferWriter::WithoutFile();
  app::StartReport(context);
  std::optional<transfer::RecordingSpace> space;
  if (budget) space.emplace(folder.string(), *budget, std::uint64_t(1) << 40);
  const std::atomic<bool> abandoned{false};
  const app::RecordingPlace place{*context.open_archive, context.codes, space ? &*space : nullptr, abandoned};
  bool codes_written = false;
  for (const exporters::ExportStage& stage : exporters::run_plan()) {
    if (recorded && codes_written) {
      const std::unique_ptr<app::RecordedStage> recording = app::RecordStage(stage, place);
      app::ReplayStage(context, *recording);
    } else {
      stage.run(context);
    }
    codes_written = codes_written || stage.condition_codes == exporters::ConditionCodes::Fills;
  }
  context.open_archive->close();
  context.transfer_file->close();
  RunResult result;
  if (context.transfer_file->has_file()) result.bytes = transfer::testing::read_bytes(context.transfer_path);
  result.done = context.done;
  for (const report::BlockReport& block : context.report->blocks()) result.blocks.push_back(describe(block));
  return result;
}

TEST(RecordedStage, EveryStageRecordedAndCopiedInGivesWhatTheStageRunDirectlyGives) {
  TempDir dir;
  run::write_sample(dir.path());
  const auto archive = dir / run::kArchiveName;
  TempDir direct_folder;
  const RunResult direct = run_plan(archive, direct_folder.path(), false, std::nullopt);
  ASSERT_EQ(direct.blocks.size(), exporters::run_plan().size());
  ASSERT_GT(direct.done, 0);
  // All in memory; every piece spilled to a scratch file; no bytes kept (a dry run).
  for (const std::optional<std::size_t> budget : {std::optional<std::size_t>(64 << 20), std::optional<std::size_t>(0),
                                                  std::optional<std::size_t>()}) {
    SCOPED_TRACE(budget ? std::to_string(*budget) : "dry run");
    TempDir folder;
    const RunResult recorded = run_plan(archive, folder.path(), true, budget);
    if (budget) {
      EXPECT_TRUE(recorded.bytes == direct.bytes) << "the transfer files differ";
      // Only the transfer file is left: the scratch files went with their recordings.
      EXPECT_EQ(transfer::testing::entries(folder.path()), std::vector<std::string>{"ProvaExport.txt"});
    }
    EXPECT_EQ(recorded.done, direct.done);
    EXPECT_EQ(recorded.blocks, direct.blocks);
  }
}

}  // namespace
}  // namespace tarvik::test
