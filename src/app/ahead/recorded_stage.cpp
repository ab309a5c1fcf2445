#include "app/ahead/recorded_stage.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "app/run_context.h"
#include "platform/directory.h"
#include "platform/utf8_path.h"
#include "report/transfer_report.h"

namespace tarvik::app {

namespace {

class RecordingContext final : public exporters::ExportContext, public transfer::ValueObserver {
 public:
  RecordingContext(const RecordingPlace& place, RecordedStage& stage)
      : place_(place), stage_(stage), writer_(transfer::TransferWriter::Recording(stage.lines)) {
    writer_->set_observer(this);
  }

  archive::Database& archive() override { return place_.archive; }
  transfer::TransferWriter& writer() override { return *writer_; }
  exporters::ConditionCodeList& condition_codes() override { return place_.codes; }
  void TickProgress() override {
    if (place_.abandoned.load(std::memory_order_relaxed)) throw std::runtime_error("run abandoned");
    ++stage_.records;
    if (stage_.records % 100 == 0 && place_.every_hundred) place_.every_hundred();
  }
  void BlockStarted(std::string_view block, archive::Recordset& records) override {
    stage_.block.name = std::string(block);
    records_ = &records;
  }
  void BlockFinished(std::string_view /*block*/, std::int32_t written,
                     std::optional<archive::UnmatchedRows> unmatched) override {
    stage_.block.written = written;
    stage_.block.unmatched = std::move(unmatched);
    records_ = nullptr;
  }
  void value_changed(const transfer::ValueChange& change) override {
    if (records_) report::NoteChangedValue(stage_.block, field_being_written, *records_, change);
  }

 private:
  const RecordingPlace& place_;
  RecordedStage& stage_;
  std::unique_ptr<transfer::TransferWriter> writer_;
  archive::Recordset* records_ = nullptr;
};

}  // namespace

std::unique_ptr<transfer::RecordingSpace> MakeRecordingSpace(const RunContext& context, const std::string& archive_path) {
  if (context.mode != RunMode::Export) return nullptr;
  const std::string folder = platform::Utf8FromPath(context.transfer_path.parent_path());
  std::uint64_t room = platform::FreeRoom(folder).value_or(0);
  const std::optional<platform::FileStatus> archive = platform::ExamineFile(archive_path);
  const std::uint64_t kept = archive ? 2 * archive->size : room;
  room = room > kept ? room - kept : 0;
  return std::make_unique<transfer::RecordingSpace>(folder, context.recording_memory,
                                                    std::min(room, context.recording_disk));
}

std::unique_ptr<RecordedStage> RecordStage(const exporters::ExportStage& stage, const RecordingPlace& place) {
  auto recorded = std::make_unique<RecordedStage>(place.space);
  RecordingContext context(place, *recorded);
  stage.run(context);
  context.writer().close();  // the last lines into the recording
  return recorded;
}

void ReplayStage(RunContext& context, RecordedStage& stage) {
  context.writer().WriteRecorded(stage.lines);
  for (std::int32_t i = 0; i < stage.records; ++i) context.TickProgress();
  if (context.report) context.LookUpLeftOut(context.report->BlockRecorded(std::move(stage.block)));
}

}  // namespace tarvik::app
