// The export when the transfer file cannot be written: its folder missing or read-only, the disk
// full at any point of the file. Each run fails with the platform's error in the standard message
// and exit code 2, leaves no file in the output folder, and writes nothing to the archive.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

#include "robustness/export_fixture.h"

namespace tarvik::test {
namespace {

// An archive folder holding the scale-1 sample, and an output folder beside it.
class OutputFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(archive_folder());
    std::filesystem::create_directory(output_folder());
    std::filesystem::copy_file(sample_archive(1), archive());
    before_ = fingerprint(archive());
  }
  void TearDown() override { EXPECT_EQ(fingerprint(archive()), before_) << "the archive was written to"; }

  std::filesystem::path archive_folder() const { return root_ / "archivio"; }
  std::filesystem::path output_folder() const { return root_ / "uscita"; }
  std::filesystem::path archive() const { return archive_folder() / kArchiveName; }
  std::filesystem::path transfer_path() const { return output_folder() / "ProvaExport.txt"; }

  // A failed run: exit code 2, the platform's error `number` reported, nothing left behind.
  void expect_failed_with(const ToolResult& result, int number, const std::filesystem::path& folder) {
    EXPECT_FALSE(result.crashed()) << result.output;
    EXPECT_TRUE(result.exited_with(2)) << "exit " << result.exit_code << "\n" << result.output;
    EXPECT_NE(result.output.find(std::string(kUnexpectedError) + " " + std::to_string(number) + " "),
              std::string::npos) << result.output;
    if (std::filesystem::exists(folder)) {
      EXPECT_EQ(folder_entries(folder), std::vector<std::string>{});
    }
  }

  TempDir root_;
  FileFingerprint before_;
};

TEST_F(OutputFailure, OutputFolderMissing) {
  const auto missing = output_folder() / "non-esiste";
  const ToolResult result = run_tool(export_args(archive_folder(), missing / "ProvaExport.txt"));
  expect_failed_with(result, 76, output_folder());
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(OutputFailure, OutputFolderReadOnly) {
  std::string why;
  const std::string tool = tool_for_unprivileged_user(why);
  if (tool.empty()) GTEST_SKIP() << why;
  open_to_everyone(root_.path());
  open_to_everyone(archive_folder());
  std::filesystem::permissions(output_folder(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                                                    std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
  const ToolResult result =
      run_tool(ToolOptions(export_args(archive_folder(), transfer_path())).as_user_nobody(tool));
  expect_failed_with(result, 75, output_folder());
}

TEST_F(OutputFailure, DiskFullAtAnyPointOfTheFile) {
#if defined(__SANITIZE_THREAD__)
  // ThreadSanitizer's own signal handling lets SIGXFSZ kill the process though the program
  // ignores it; the other builds run this.
  GTEST_SKIP() << "a file size limit kills a ThreadSanitizer build";
#endif
  const ToolResult whole = run_tool(export_args(archive_folder(), transfer_path()));
  ASSERT_TRUE(whole.exited_with(0)) << whole.output;
  const std::uint64_t size = std::filesystem::file_size(transfer_path());
  std::filesystem::remove(transfer_path());

  // The limit on the size of any file the process writes: no room at all, room for a few bytes,
  // half the file, all of it but its last byte.
  for (std::uint64_t limit : {std::uint64_t(0), std::uint64_t(1), std::uint64_t(4096), size / 2, size - 1}) {
    SCOPED_TRACE("file size limit " + std::to_string(limit) + " of " + std::to_string(size));
    const ToolResult result =
        run_tool(ToolOptions(export_args(archive_folder(), transfer_path())).with_file_size_limit(limit));
    expect_failed_with(result, 61, output_folder());
  }
  // Exactly the room the file needs: the export completes.
  const ToolResult fits =
      run_tool(ToolOptions(export_args(archive_folder(), transfer_path())).with_file_size_limit(size));
  EXPECT_TRUE(fits.exited_with(0)) << fits.output;
  EXPECT_TRUE(transfer_file_verifies(transfer_path()));
}

// A file system of 256 KB mounted on a folder for one test, unmounted when the test ends.
class SmallFileSystem {
 public:
  explicit SmallFileSystem(const std::filesystem::path& folder) : folder_(folder) {
    mounted_ = mount("tarvik-test", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k") == 0;
    if (!mounted_) error_ = std::strerror(errno);
  }
  ~SmallFileSystem() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;
  bool mounted() const { return mounted_; }
  const std::string& error() const { return error_; }

 private:
  std::filesystem::path folder_;
  bool mounted_ = false;
  std::string error_;
};

TEST_F(OutputFailure, DiskFullOnASmallFileSystem) {
  // The transfer file of the scale-1 sample is about 900 KB.
  const SmallFileSystem small(output_folder());
  if (!small.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (" << small.error() << ")";
  const ToolResult result = run_tool(export_args(archive_folder(), transfer_path()));
  expect_failed_with(result, 61, output_folder());
}

TEST_F(OutputFailure, ReplacedFileOfAnEarlierRunIsDeletedWhenTheDiskIsFull) {
  // A transfer file of an earlier run stands at the path; a failed run must not leave it there,
  // where it would pass for this run's file.
  const ToolResult first = run_tool(export_args(archive_folder(), transfer_path()));
  ASSERT_TRUE(first.exited_with(0)) << first.output;
  const ToolResult result =
      run_tool(ToolOptions(export_args(archive_folder(), transfer_path())).with_file_size_limit(4096));
  expect_failed_with(result, 61, output_folder());
}

}  // namespace
}  // namespace tarvik::test
