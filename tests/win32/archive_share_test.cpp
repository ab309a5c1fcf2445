// On Windows the archive is opened so that no other program may write it while it is read: an
// archive another program holds open for writing is refused as in use, and while we read it
// nobody can open it for writing or cut it short.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "platform/archive_file.h"
#include "support/temp_dir.h"

namespace tarvik::test {
namespace {

using platform::FileError;

HANDLE open_for_writing(const std::filesystem::path& path) {
  return CreateFileW(path.wstring().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(ArchiveShareTest, WritersAndReadersExcludeEachOther) {
  TempDir dir;
  const auto path = dir / "Tarvik.mdb";
  std::ofstream(path) << "archivio";

  HANDLE writer = open_for_writing(path);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  FileError error = FileError::None;
  EXPECT_EQ(platform::ArchiveLock::acquire(path.string(), error), nullptr);
  EXPECT_EQ(error, FileError::InUse);
  EXPECT_EQ(platform::ArchiveFile::open(path.string(), error), nullptr);
  EXPECT_EQ(error, FileError::InUse);
  CloseHandle(writer);

  auto reader = platform::ArchiveFile::open(path.string(), error);
  ASSERT_NE(reader, nullptr);
  HANDLE late_writer = open_for_writing(path);
  EXPECT_EQ(late_writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  if (late_writer != INVALID_HANDLE_VALUE) CloseHandle(late_writer);
}

}  // namespace
}  // namespace tarvik::test
