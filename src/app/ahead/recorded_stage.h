// A stage written ahead, off the transfer file, while the stages before it are still being
// written: its lines recorded, its records counted for the progress, and what the report says of
// its block. In its turn the run copies it into the file, as if the stage had run then.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "archive/database.h"
#include "exporters/export_context.h"
#include "exporters/run_plan.h"
#include "report/block_report.h"
#include "transfer/stage_recording.h"

namespace tarvik::app {

class RunContext;

struct RecordedStage {
  explicit RecordedStage(transfer::RecordingSpace* space) : lines(space) {}
  transfer::StageRecording lines;
  report::BlockReport block;  // the changed values and the records written
  std::int32_t records = 0;   // the progress ticks the stage gave
};

// What a recording reaches besides the stage itself. `abandoned` stops it at its next record
// (the run has ended); `every_hundred`, when given, is called every hundred records.
struct RecordingPlace {
  archive::Database& archive;
  exporters::ConditionCodeList& codes;  // only read: the stage that fills it is never recorded
  transfer::RecordingSpace* space;      // null when the run keeps no transfer file
  const std::atomic<bool>& abandoned;
  std::function<void()> every_hundred = {};
};

// Where the recordings keep their lines; none when the run keeps no transfer file. Scratch files
// may take the disk's free room beyond twice the archive's size: a transfer file is smaller than
// its archive, and scratch files must never take the room it needs.
std::unique_ptr<transfer::RecordingSpace> MakeRecordingSpace(const RunContext& context, const std::string& archive_path);

// Runs `stage` into a recording; throws whatever the stage throws.
std::unique_ptr<RecordedStage> RecordStage(const exporters::ExportStage& stage, const RecordingPlace& place);

// The stage's turn: its lines into the transfer file, its ticks to the progress, its block to the
// report.
void ReplayStage(RunContext& context, RecordedStage& stage);

}  // namespace tarvik::app
