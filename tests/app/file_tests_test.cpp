// The existence tests on things at the path that are not plain files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/file_tests.h"
#include "archive/archive_error.h"
#include "archive/jet/jet_file.h"
#include "support/temp_dir.h"

namespace tarvik::test {
namespace {

TEST(FileTests, FifoOrFolderIsNoArchiveAndNothingWaits) {
  TempDir dir;
  const std::string fifo = (dir / "Tarvik.mdb").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(app::FileExists(fifo));  // returns at once: no writer is awaited
  try {
    archive::jet::JetFile::open(fifo);
    FAIL() << "a FIFO opened as an archive";
  } catch (const archive::ArchiveError& e) {
    EXPECT_EQ(e.number(), 3051);
  }
  EXPECT_FALSE(app::FileExists(dir.path().string()));
  EXPECT_TRUE(app::DirExists(dir.path().string() + "/"));
  EXPECT_FALSE(app::DirExists((dir / "missing/").string()));
}

}  // namespace
}  // namespace tarvik::test
