#include "app/run_report.h"

#include "common/version.h"
#include "report/file_facts.h"
#include "report/html_page.h"
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

void RunContext::BlockFinished(std::string_view /*block*/, std::int32_t written) {
  block_records_ = nullptr;
  if (report) report->BlockFinished(written, archive());
}

void RunContext::value_changed(const transfer::ValueChange& change) {
  if (report && block_records_) report->ValueChanged(field_being_written, *block_records_, change);
}

void StartReport(RunContext& context) {
  context.report = std::make_unique<report::TransferReport>();
  context.writer().set_observer(&context);
}

void WriteReport(RunContext& context, const std::string& archive_path) {
  report::ReportHeading& heading = context.report->heading();
  const report::FileFacts archive = report::FactsOf(archive_path);
  heading.archive_path = archive_path;
  heading.archive_size = archive.size;
  heading.archive_modified = archive.modified;
  if (context.mode == RunMode::Export) {
    heading.transfer_path = context.transfer_path.string();
    heading.transfer_size = report::FactsOf(context.transfer_path).size;
  }
  heading.exported_at = report::LocalTimeNow();
  heading.total = context.total;
  heading.departments = context.departments;
  report::WriteReportFile(context.report_path, report::HtmlPage(*context.report, kVersion));
}

}  // namespace tarvik::app
