// The state of one export run: the transfer file's path, the open archive and transfer file, the
// record total and the records done, the condition-code list. It belongs to the window and lives
// as long as it; the export stages see it through ExportContext.
#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>

#include "archive/database.h"
#include "exporters/export_context.h"
#include "report/transfer_report.h"
#include "transfer/transfer_writer.h"
#include "transfer/value_observer.h"
#include "ui/window_port.h"

namespace tarvik::app {

class RunAhead;

// How a run treats its files: an export writes the transfer file and its report beside it; a dry
// run writes only the report, at a path of its own.
enum class RunMode { Export, ReportOnly };

class RunContext : public exporters::ExportContext, public transfer::ValueObserver {
 public:
  // An export: the report goes beside the transfer file.
  RunContext(ui::WindowPort& window, std::filesystem::path transfer_path);
  // A dry run: the checks and the report at `report_path`, no transfer file.
  static std::unique_ptr<RunContext> ReportOnly(ui::WindowPort& window, std::filesystem::path report_path);
  ~RunContext() override;

  archive::Database& archive() override { return *open_archive; }
  transfer::TransferWriter& writer() override { return *transfer_file; }
  exporters::ConditionCodeList& condition_codes() override { return codes; }
  // Raises done; at every hundredth record shows "Avanzamento: done/total" and lets the window
  // handle its events, the only place a run does so. Leaving the 32-bit range is an overflow.
  void TickProgress() override;
  // The report follows the blocks and hears of the values the writer changes.
  void BlockStarted(std::string_view block, archive::Recordset& records) override;
  void BlockFinished(std::string_view block, std::int32_t written,
                     std::optional<archive::UnmatchedRows> unmatched) override;
  void value_changed(const transfer::ValueChange& change) override;
  // Has the report find what a complete block left out: on the second thread while the run has
  // one (`ahead`), here otherwise.
  void LookUpLeftOut(report::BlockReport& block);

  ui::WindowPort& window;
  const std::filesystem::path transfer_path;
  std::unique_ptr<archive::Database> open_archive;
  std::unique_ptr<transfer::TransferWriter> transfer_file;
  std::int32_t total = 0;
  std::int32_t done = 0;
  exporters::ConditionCodeList codes;

  RunMode mode = RunMode::Export;
  std::filesystem::path report_path;
  bool departments = false;  // the answer written as header line 2
  // The memory the stages written ahead may hold between them; the rest goes to scratch files,
  // at most this much of them, and never more than the disk's free room beyond twice the
  // archive's size (the room the transfer file may need).
  std::size_t recording_memory = 8 << 20;
  std::uint64_t recording_disk = std::numeric_limits<std::uint64_t>::max();
  // Made when the transfer file is created; kept after the run for the summary it gives.
  std::unique_ptr<report::TransferReport> report;
  RunAhead* ahead = nullptr;  // the export's second thread, while it runs

 private:
  archive::Recordset* block_records_ = nullptr;  // the set of the block being written
};

}  // namespace tarvik::app
