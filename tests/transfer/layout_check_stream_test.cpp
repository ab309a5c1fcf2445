// The layout reader on a stream: lines of any length and CR LF pairs split between reads are
// read as in memory, and a file is checked in memory that does not grow with it or its lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/allocation_probe.h"
#include "support/temp_dir.h"
#include "transfer/layout_check.h"
#include "transfer/line_reader.h"
#include "transfer/memo_end_marker.h"

namespace tarvik::transfer {
namespace {

const std::string kMarker = "@#\xA3$%&/()=?<>FINE MEMO@#\xA3$%&/()=?<>";
const std::vector<BlockLayout> kLayouts = {{"Note", {false, true}}};

// One "Note" block: each record an id line and a raw memo of the lines given.
std::string note_file(const std::vector<std::vector<std::string>>& memos) {
  std::string bytes = " 1 \r\nF\r\nNote\r\n " + std::to_string(memos.size()) + " \r\n";
  for (std::size_t i = 0; i < memos.size(); ++i) {
    bytes += std::to_string(i + 1) + "\r\n";
    for (const std::string& line : memos[i]) bytes += line + "\r\n";
    bytes += kMarker + "\r\n";
  }
  return bytes;
}

LayoutCheck check_stream(const std::string& bytes) {
  std::istringstream in(bytes);
  return check_layout(in, kLayouts);
}

TEST(LayoutCheckStream, TheMarkerTheReaderLooksForIsTheOneTheWriterWrites) {
  EXPECT_EQ(std::string(kMemoEndMarkerBytes), kMarker);
}

TEST(LayoutCheckStream, CrLfSplitAcrossReadsAndLongLinesAreReadAsInMemory) {
  // The first memo line ends so that its CR LF falls on each side of the reader's 64 KB reads.
  const std::size_t before_memo = note_file({{}}).find("1\r\n") + 3;
  for (std::size_t shift : {0, 1, 2, 3}) {
    SCOPED_TRACE(shift);
    const std::string memo_line(64 * 1024 - before_memo - 2 + shift, 'a');
    const std::string bytes = note_file({{memo_line, "b"}, {"c"}});
    const LayoutCheck streamed = check_stream(bytes);
    ASSERT_TRUE(streamed.ok) << streamed.bad_line << ": " << streamed.problem;
    EXPECT_EQ(streamed.blocks.at(0).records, 2);
  }
  // A line that begins with the marker but goes on past what is kept is no marker.
  std::string with_long_marker = note_file({{"x"}});
  with_long_marker.insert(with_long_marker.size() - 2, std::string(1000, 'x'));
  const LayoutCheck long_marker = check_stream(with_long_marker);
  EXPECT_FALSE(long_marker.ok);
  EXPECT_EQ(long_marker.bad_line, 8u) << long_marker.problem;
  EXPECT_NE(long_marker.problem.find("manca il segno di fine memo"), std::string::npos);
  // A CR alone, or an LF alone, inside a memo line does not end it.
  EXPECT_TRUE(check_stream(note_file({{"a\rb\nc", "\r"}})).ok);
  // A block name followed by more than what is kept is the wrong name.
  std::string bytes = note_file({{"x"}});
  bytes.replace(bytes.find("Note"), 4, "Note" + std::string(LineReader::kKeptBytes, ' '));
  const LayoutCheck long_name = check_stream(bytes);
  EXPECT_EQ(long_name.bad_line, 3u);
  EXPECT_NE(long_name.problem.find("atteso il nome del blocco Note"), std::string::npos);
}

TEST(LayoutCheckStream, AFileOfManyMegabytesIsCheckedInAFixedAmountOfMemory) {
  const std::string long_line(4 << 20, 'm');  // one 4 MB line, as a memo may hold
  std::vector<std::vector<std::string>> memos(2000, {"riga", "", "altra riga"});
  memos[1000] = {long_line, long_line};
  test::TempDir folder;
  const auto path = folder.path() / "ProvaExport.txt";
  const std::string bytes = note_file(memos);
  std::ofstream(path, std::ios::binary) << bytes;

  std::ifstream in(path, std::ios::binary);
  test::AllocationProbe probe;
  const LayoutCheck check = check_layout(in, kLayouts);
  ASSERT_TRUE(check.ok) << check.bad_line << ": " << check.problem;
  EXPECT_EQ(check.blocks.at(0).records, 2000);
  EXPECT_LT(probe.largest(), 128u * 1024) << "for a file of " << bytes.size() << " bytes";
}

}  // namespace
}  // namespace tarvik::transfer
