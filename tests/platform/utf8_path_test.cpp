// Paths are UTF-8 text in the program and std::filesystem::path only through the platform's two
// crossings: the text names the same file both ways, and a file made through the path is listed
// under the name the text gave it. On Windows the path holds UTF-16, where the path's own narrow
// constructor reads the ANSI code page and makes "è" into "Ã¨".
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/directory.h"
#include "platform/utf8_path.h"
#include "support/temp_dir.h"

namespace tarvik::platform {
namespace {

TEST(Utf8Path, TextBeyondAsciiCrossesBothWaysIntact) {
  const std::string text = "Societ\xC3\xA0 Rossi & C/Uscita \xC3\xA8/prova \xE2\x82\xAC.txt";
  const std::filesystem::path path = PathFromUtf8(text);
  EXPECT_EQ(Utf8FromPath(path), text);
  // The path's own characters, whatever the system keeps them in.
  EXPECT_EQ(path.filename().u16string(), u"prova \u20AC.txt");
  EXPECT_EQ(path.parent_path().filename().u16string(), u"Uscita \u00E8");
  EXPECT_EQ(Utf8FromPath(path.parent_path().parent_path()), "Societ\xC3\xA0 Rossi & C");
}

TEST(Utf8Path, AFileMadeThroughThePathIsListedUnderItsName) {
  test::TempDir folder;
  const std::string name = "\xC3\xA8 & \xC3\xA0.txt";
  std::ofstream(folder.path() / PathFromUtf8(name)) << "x";
  const std::vector<std::string> names = FolderNames(Utf8FromPath(folder.path()));
  EXPECT_NE(std::find(names.begin(), names.end(), name), names.end());
  const std::optional<FileStatus> status = ExamineFile(Utf8FromPath(folder.path() / PathFromUtf8(name)));
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(status->size, 1u);
}

}  // namespace
}  // namespace tarvik::platform
