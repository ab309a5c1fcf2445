// The report on disk while the transfer file is still being closed: written and flushed under a
// temporary name, taking its own only when committed, and leaving nothing when dropped.
#include <gtest/gtest.h>

#include "app/run_archives.h"
#include "report/report_file.h"
#include "support/temp_dir.h"

namespace tarvik::test {
namespace {

std::vector<std::string> names_in(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  return names;
}

TEST(ReportFileAhead, StaysUnderItsTemporaryNameUntilCommittedAndLeavesNothingWhenDropped) {
  TempDir dir;
  const auto path = dir / "ProvaExport.html";
  report::TransferReport report;
  report.heading().archive_path = "C:\\Dati\\Tarvik.mdb";
  {
    const auto file = report::WriteReportFileAhead(path, report, "9.9.9");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(file->temporary_path()), file->size()) << "all of it written already";
    file->commit();
  }
  const std::string page = run::read_file(path);
  EXPECT_TRUE(page.starts_with("<!DOCTYPE html>"));
  EXPECT_TRUE(page.ends_with("</html>\n"));
  EXPECT_NE(page.find("C:\\Dati\\Tarvik.mdb"), std::string::npos);
  EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"ProvaExport.html"});

  std::filesystem::remove(path);
  report::WriteReportFileAhead(path, report, "9.9.9");  // dropped: the transfer file failed
  EXPECT_TRUE(names_in(dir.path()).empty());
}

}  // namespace
}  // namespace tarvik::test
