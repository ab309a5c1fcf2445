// The hold an export keeps on its archive: a second holder is refused as in use until the first
// lets go, and a missing archive is told apart from one that cannot be opened.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/archive_file.h"
#include "support/temp_dir.h"

namespace tarvik::test {
namespace {

using platform::ArchiveLock;
using platform::FileError;

TEST(ArchiveLockTest, OneHolderAtATime) {
  TempDir dir;
  const std::string path = (dir / "Tarvik.mdb").string();
  std::ofstream(path) << "archivio";
  FileError error = FileError::Other;
  auto first = ArchiveLock::acquire(path, error);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(error, FileError::None);

  EXPECT_EQ(ArchiveLock::acquire(path, error), nullptr);
  EXPECT_EQ(error, FileError::InUse);
  // Reading stays open to others while the hold lasts.
  auto reader = platform::ArchiveFile::open(path, error);
  ASSERT_NE(reader, nullptr);
  char bytes[8] = {};
  EXPECT_EQ(reader->read_at(0, bytes, sizeof bytes), 8);
  EXPECT_EQ(std::string(bytes, 8), "archivio");
  EXPECT_EQ(reader->read_at(6, bytes, sizeof bytes), 2);  // short at the end of the file

  first.reset();
  EXPECT_NE(ArchiveLock::acquire(path, error), nullptr);
}

TEST(ArchiveLockTest, MissingArchiveIsNotFound) {
  TempDir dir;
  FileError error = FileError::None;
  EXPECT_EQ(ArchiveLock::acquire((dir / "assente.mdb").string(), error), nullptr);
  EXPECT_EQ(error, FileError::NotFound);
  EXPECT_EQ(platform::ArchiveFile::open((dir / "assente" / "Tarvik.mdb").string(), error), nullptr);
  EXPECT_EQ(error, FileError::NotFound);
}

}  // namespace
}  // namespace tarvik::test
