// The temporary files beside a transfer file: a new output file removes the leftovers of killed
// runs for the same path, and leaves alone those still held by a live run and every other name.
#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"
#include "transfer/output_file.h"

namespace tarvik::test {
namespace {

using transfer::OutputFile;

void touch(const std::filesystem::path& path) { std::ofstream(path) << "resto di un'esportazione"; }

TEST(StaleTemporaryFilesTest, LeftoversOfTheSamePathGoAndEverythingElseStays) {
  TempDir dir;
  const auto target = dir / "ProvaExport.txt";
  const std::vector<std::string> leftovers = {"ProvaExport.txt.tmp-0a1b2c", "ProvaExport.txt.tmp-ffffff"};
  const std::vector<std::string> others = {
      "ProvaExport.txt.tmp-0a1b2",   // five digits
      "ProvaExport.txt.tmp-0A1B2D",  // not the digits the program writes
      "ProvaExport.txt.tmp-0a1b2cd",
      "Altro.txt.tmp-0a1b2c",
      "ProvaExport.txt",
      "xProvaExport.txt.tmp-0a1b2c"};
  for (const auto& name : leftovers) touch(dir / name);
  for (const auto& name : others) touch(dir / name);

  {
    OutputFile file(target);
    for (const auto& name : leftovers) EXPECT_FALSE(std::filesystem::exists(dir / name)) << name;
    for (const auto& name : others) EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    EXPECT_TRUE(std::filesystem::exists(file.temporary_path()));
    file.write("A", 1);
    file.commit();
  }
  EXPECT_EQ(std::filesystem::file_size(target), 1u);
}

TEST(StaleTemporaryFilesTest, TheFileOfALiveWriterIsKept) {
  TempDir dir;
  const auto target = dir / "ProvaExport.txt";
  OutputFile first(target);
  const auto live = first.temporary_path();
  OutputFile second(target);  // its cleaning finds the first one's file locked
  EXPECT_TRUE(std::filesystem::exists(live));
  EXPECT_EQ(transfer::RemoveStaleTemporaryFiles(target), 0u);
  first.write("1", 1);
  first.commit();  // its file can still take the path
  second.discard();
  EXPECT_EQ(std::filesystem::file_size(target), 1u);
}

}  // namespace
}  // namespace tarvik::test
