// Paths at the Windows calls: short ones as typed, long ones absolute under the "\\?\" prefix that
// lifts MAX_PATH, with the separators Windows wants there.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/wide.h"

namespace tarvik::test {
namespace {

using platform::WidePath;

TEST(WidePathTest, ShortPathsAreLeftAsTyped) {
  EXPECT_EQ(WidePath("C:\\Dati/Società\\ProvaExport.txt"), L"C:\\Dati/Societ\u00E0\\ProvaExport.txt");
  EXPECT_EQ(WidePath("ProvaExport.txt"), L"ProvaExport.txt");
  EXPECT_EQ(WidePath(""), L"");
}

TEST(WidePathTest, LongPathsGetThePrefixAndBackslashes) {
  const std::string folder(150, 'a'), name(150, 'b');
  EXPECT_EQ(WidePath("C:\\" + folder + "/" + name + ".txt"),
            L"\\\\?\\C:\\" + std::wstring(150, L'a') + L"\\" + std::wstring(150, L'b') + L".txt");
  EXPECT_EQ(WidePath("\\\\server\\share\\" + folder + "\\" + name),
            L"\\\\?\\UNC\\server\\share\\" + std::wstring(150, L'a') + L"\\" + std::wstring(150, L'b'));
  // A path that has the prefix already is not given it twice.
  const std::wstring prefixed = L"\\\\?\\C:\\" + std::wstring(250, L'c');
  EXPECT_EQ(WidePath("\\\\?\\C:\\" + std::string(250, 'c')), prefixed);
}

TEST(WidePathTest, ALongRelativePathIsMadeAbsolute) {
  const std::wstring path = WidePath(std::string(220, 'r') + ".txt");
  ASSERT_EQ(path.rfind(L"\\\\?\\", 0), 0u);
  EXPECT_EQ(path.substr(path.size() - 224), std::wstring(220, L'r') + L".txt");
  EXPECT_NE(path.find(L':'), std::wstring::npos);  // a drive, as the current folder has one
}

}  // namespace
}  // namespace tarvik::test
