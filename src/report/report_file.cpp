#include "report/report_file.h"

#include "report/html_page.h"
#include "transfer/output_file.h"

namespace tarvik::report {

std::filesystem::path ReportPathFor(const std::filesystem::path& transfer_path) {
  std::filesystem::path report = transfer_path;
  report.replace_extension(".html");
  if (report == transfer_path) report += ".html";
  return report;
}

std::unique_ptr<transfer::OutputFile> WriteReportFileAhead(const std::filesystem::path& path,
                                                           const TransferReport& report, std::string_view version) {
  auto file = std::make_unique<transfer::OutputFile>(path);
  WriteHtmlPage(report, version, [&file](std::string_view piece) { file->write(piece.data(), piece.size()); });
  file->flush();
  return file;
}

}  // namespace tarvik::report
