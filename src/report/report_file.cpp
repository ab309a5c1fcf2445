#include "report/report_file.h"

#include "transfer/output_file.h"

namespace tarvik::report {

std::filesystem::path ReportPathFor(const std::filesystem::path& transfer_path) {
  std::filesystem::path report = transfer_path;
  report.replace_extension(".html");
  if (report == transfer_path) report += ".html";
  return report;
}

void WriteReportFile(const std::filesystem::path& path, std::string_view html) {
  transfer::OutputFile file(path);
  file.write(html.data(), html.size());
  file.commit();
}

}  // namespace tarvik::report
