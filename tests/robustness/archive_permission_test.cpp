// An archive the user may not read counts as missing: the folder test refuses the export with its
// message (exit code 1) before anything is opened or created. Permission bits do not stop root,
// so when the tests run as root the export runs as user nobody.
#include <gtest/gtest.h>

#include "robustness/export_fixture.h"

namespace tarvik::test {
namespace {

TEST(ArchivePermission, UnreadableArchiveCountsAsMissing) {
  std::string why;
  const std::string tool = tool_for_unprivileged_user(why);
  if (tool.empty()) GTEST_SKIP() << why;
  TempDir folder;
  open_to_everyone(folder.path());
  const auto archive = folder / kArchiveName;
  std::filesystem::copy_file(sample_archive(1), archive);
  std::filesystem::permissions(archive, std::filesystem::perms::owner_write);
  const FileFingerprint before = fingerprint(archive);

  // The output folder is writable by anyone, so only the archive can stop the run.
  TempDir output_folder;
  std::filesystem::permissions(output_folder.path(), std::filesystem::perms::all);
  const auto output = output_folder / "ProvaExport.txt";
  const ToolResult result =
      run_tool(ToolOptions(export_args(folder.path(), output)).as_user_nobody(tool));

  EXPECT_FALSE(result.crashed()) << result.output;
  EXPECT_TRUE(result.exited_with(1)) << result.output;
  EXPECT_NE(result.output.find("La cartella specificata non contiene un archivio di Tarvik"), std::string::npos)
      << result.output;
  EXPECT_EQ(folder_entries(output_folder.path()), std::vector<std::string>{});
  EXPECT_EQ(fingerprint(archive), before);
}

}  // namespace
}  // namespace tarvik::test
