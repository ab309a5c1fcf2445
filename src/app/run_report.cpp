#include "app/run_report.h"

#include <exception>
#include <future>
#include <optional>

#include "app/ahead/run_ahead.h"
#include "common/version.h"
#include "platform/directory.h"
#include "platform/utf8_path.h"
#include "report/local_time.h"
#include "report/report_file.h"

namespace tarvik::app {

RunContext::RunContext(ui::WindowPort& window, std::filesystem::path transfer_path)
    : window(window), transfer_path(std::move(transfer_path)), report_path(report::ReportPathFor(this->transfer_path)) {}

RunContext::~RunContext() {
  if (open_archive) open_archive->close();
}

std::unique_ptr<RunContext> RunContext::ReportOnly(ui::WindowPort& window, std::filesystem::path report_path) {
  auto context = std::make_unique<RunContext>(window, std::filesystem::path());
  context->mode = RunMode::ReportOnly;
  context->report_path = std::move(report_path);
  return context;
}

void RunContext::BlockStarted(std::string_view block, archive::Recordset& records) {
  block_records_ = &records;
  if (report) report->BlockStarted(block);
}

void RunContext::BlockFinished(std::string_view /*block*/, std::int32_t written,
                               std::optional<archive::UnmatchedRows> unmatched) {
  block_records_ = nullptr;
  if (report) LookUpLeftOut(report->BlockFinished(written, std::move(unmatched)));
}

void RunContext::LookUpLeftOut(report::BlockReport& block) {
  if (ahead)
    ahead->look_up_left_out(block);
  else
    report->FindLeftOut(archive(), block);
}

void RunContext::value_changed(const transfer::ValueChange& change) {
  if (report && block_records_) report->ValueChanged(field_being_written, *block_records_, change);
}

void StartReport(RunContext& context) {
  context.report = std::make_unique<report::TransferReport>();
  context.writer().set_observer(&context);
}

namespace {

// Fills the report's heading; `transfer_size` is the transfer file's size once closed.
void FillHeading(RunContext& context, const std::string& archive_path, std::uint64_t transfer_size) {
  report::ReportHeading& heading = context.report->heading();
  // Examined by the platform, which reaches paths of any length; a file it cannot examine shows
  // size 0 and no time.
  const std::optional<platform::FileStatus> archive = platform::ExamineFile(archive_path);
  heading.archive_path = archive_path;
  heading.archive_size = archive ? archive->size : 0;
  heading.archive_modified = archive ? report::LocalTimeText(archive->modified) : "";
  if (context.mode == RunMode::Export) {
    heading.transfer_path = platform::Utf8FromPath(context.transfer_path);
    heading.transfer_size = transfer_size;
  }
  heading.exported_at = report::LocalTimeNow();
  heading.total = context.total;
  heading.departments = context.departments;
}

}  // namespace

void CloseTransferAndWriteReport(RunContext& context, const std::string& archive_path) {
  transfer::TransferWriter& transfer = *context.transfer_file;
  const std::uint64_t transfer_size = transfer.size();
  // Without a thread to spare the close runs at get(), after the report is written, as it would
  // on its own.
  std::future<void> closing =
      std::async(std::launch::async | std::launch::deferred, [&transfer] { transfer.close(); });
  std::unique_ptr<transfer::OutputFile> report;
  std::exception_ptr report_failure;
  try {
    FillHeading(context, archive_path, transfer_size);
    report = report::WriteReportFileAhead(context.report_path, *context.report, kVersion);
  } catch (...) {
    report_failure = std::current_exception();
  }
  closing.get();
  context.transfer_file.reset();
  if (report_failure) std::rethrow_exception(report_failure);
  report->commit();
}

}  // namespace tarvik::app
