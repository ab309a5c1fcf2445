// The layout reader on files written by hand: a good file is read block by block, and each way a
// file can break the layout is reported at the line where the importer would first go wrong.
#include "transfer/layout_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transfer/block_layouts.h"

namespace tarvik::transfer {
namespace {

// The marker as the file holds it: Windows-1252, the "£" one byte.
const std::string kMarker = "@#\xA3$%&/()=?<>FINE MEMO@#\xA3$%&/()=?<>";

// Two small blocks: "Aliquote" with two one-line fields, "Note" with a line, a raw memo, a line.
const std::vector<BlockLayout> kLayouts = {
    {"Aliquote", {false, false}},
    {"Note", {false, true, false}},
};

// A good file for kLayouts: lines 1-2 header, 3-8 "Aliquote" (two records), 9-21 "Note" (two
// records: a memo of three lines, one of them empty, and an empty memo); line 21 is one too many.
std::vector<std::string> good_lines() {
  return {" 7 ",        "T",                                         // 1-2
          "Aliquote",   " 2 ",  "1", "Esente", "2", "Ordinaria",    // 3-8
          "Note",       " 2 ",                                      // 9-10
          "10",         "prima riga", "", "FINE MEMO", kMarker, "x",  // 11-16: record 1
          "11",         "",           kMarker, "fine",                // 17-20: record 2
          "@"};                                                      // 21: extra, removed below
}

// Lines joined with CR LF after each, the last one included.
std::string joined(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

std::string good_file() {
  std::vector<std::string> lines = good_lines();
  lines.pop_back();
  return joined(lines);
}

void expect_break(const LayoutCheck& check, std::size_t line, const std::string& problem_part) {
  EXPECT_FALSE(check.ok);
  EXPECT_EQ(check.bad_line, line) << check.problem;
  EXPECT_NE(check.problem.find(problem_part), std::string::npos) << check.problem;
}

TEST(LayoutCheckGoodFiles, EveryBlockIsReadWithItsCountAndMemosRunToTheirMarker) {
  const LayoutCheck check = check_layout(good_file(), kLayouts);
  ASSERT_TRUE(check.ok) << check.bad_line << ": " << check.problem;
  EXPECT_EQ(check.total, 7);
  EXPECT_TRUE(check.departments);
  ASSERT_EQ(check.blocks.size(), 2u);
  EXPECT_EQ(check.blocks[0].name, "Aliquote");
  EXPECT_EQ(check.blocks[0].records, 2);
  EXPECT_EQ(check.blocks[1].name, "Note");
  EXPECT_EQ(check.blocks[1].records, 2);
}

TEST(LayoutCheckGoodFiles, TheHeaderAnswerFAndEmptyBlocks) {
  const LayoutCheck check = check_layout(joined({" 0 ", "F", "Aliquote", " 0 ", "Note", " 0 "}), kLayouts);
  ASSERT_TRUE(check.ok) << check.problem;
  EXPECT_EQ(check.total, 0);
  EXPECT_FALSE(check.departments);
  EXPECT_EQ(check.blocks[0].records, 0);
  EXPECT_EQ(check.blocks[1].records, 0);
}

TEST(LayoutCheckGoodFiles, AMemoLineThatOnlyHoldsTheMarkerTextInsideItDoesNotEndTheMemo) {
  // Bare CR and LF inside a raw memo are no line ends either: only CR LF is.
  const LayoutCheck check = check_layout(
      joined({" 1 ", "F", "Aliquote", " 0 ", "Note", " 1 ", "10", "a\rb\nc", "x" + kMarker, kMarker + " ",
               kMarker, "z"}),
      kLayouts);
  ASSERT_TRUE(check.ok) << check.bad_line << ": " << check.problem;
  EXPECT_EQ(check.blocks[1].records, 1);
}

TEST(LayoutCheckGoodFiles, TheImportersLayoutsReadAFileOfEmptyBlocksInRunPlanOrder) {
  std::string bytes = joined({" 0 ", "F"});
  for (const BlockLayout& layout : block_layouts()) bytes += std::string(layout.name) + "\r\n 0 \r\n";
  const LayoutCheck check = check_layout(bytes, block_layouts());
  ASSERT_TRUE(check.ok) << check.bad_line << ": " << check.problem;
  ASSERT_EQ(check.blocks.size(), 36u);
  EXPECT_EQ(check.blocks.front().name, "TabellaAspettoBeni");
  EXPECT_EQ(check.blocks[3].name, "CondPag");
  EXPECT_EQ(check.blocks[20].name, "RigheFattAcc");
  EXPECT_EQ(check.blocks.back().name, "ProgrDocumenti");
}

TEST(LayoutCheckGoodFiles, TheImportersLayoutsCloseTheNoteMemosOfRegisterItemsAndJournalDocuments) {
  // CliFor's 17th, Magazzino's 16th and PrimanotaDocumenti's 12th value are raw memos.
  std::string bytes = joined({" 3 ", "T"});
  for (const BlockLayout& layout : block_layouts()) {
    const std::string name(layout.name);
    const std::size_t memo = name == "CliFor" ? 17 : name == "Magazzino" ? 16 : name == "PrimanotaDocumenti" ? 12 : 0;
    if (memo == 0) {
      bytes += name + "\r\n 0 \r\n";
      continue;
    }
    ASSERT_EQ(layout.raw_memo.size(), name == "CliFor" ? 41u : name == "Magazzino" ? 21u : 16u);
    bytes += name + "\r\n 1 \r\n";
    for (std::size_t field = 1; field <= layout.raw_memo.size(); ++field) {
      bytes += field == memo ? "riga 1\r\nriga 2\r\n" + kMarker + "\r\n" : "v\r\n";
    }
  }
  const LayoutCheck check = check_layout(bytes, block_layouts());
  ASSERT_TRUE(check.ok) << check.bad_line << ": " << check.problem;
  EXPECT_EQ(check.blocks[9].name, "CliFor");
  EXPECT_EQ(check.blocks[9].records, 1);
}

TEST(LayoutCheckBadHeader, TheTotalMustBeAPaddedNumber) {
  for (const char* total : {"7", " 7", "7 ", " 07 ", " 7x ", "   ", ""}) {
    std::vector<std::string> lines = good_lines();
    lines.pop_back();
    lines[0] = total;
    expect_break(check_layout(joined(lines), kLayouts), 1, "totale");
  }
  expect_break(check_layout("", kLayouts), 1, "totale");
}

TEST(LayoutCheckBadHeader, TheSecondLineMustBeTOrF) {
  for (const char* answer : {"t", "S", "", "T ", "True"}) {
    std::vector<std::string> lines = good_lines();
    lines.pop_back();
    lines[1] = answer;
    expect_break(check_layout(joined(lines), kLayouts), 2, "\"T\" o \"F\"");
  }
  expect_break(check_layout(joined({" 7 "}), kLayouts), 2, "\"T\" o \"F\"");
}

TEST(LayoutCheckBlocks, AWrongBlockNameIsReportedWithTheNameExpected) {
  std::vector<std::string> lines = good_lines();
  lines.pop_back();
  lines[8] = "note";  // names are matched exactly
  expect_break(check_layout(joined(lines), kLayouts), 9, "Note");

  // Blocks out of order: the first name line already breaks.
  expect_break(check_layout(joined({" 0 ", "F", "Note", " 0 ", "Aliquote", " 0 "}), kLayouts), 3, "Aliquote");
}

TEST(LayoutCheckBlocks, ACountLineMustBeAPaddedNumberOfZeroOrMore) {
  for (const char* count : {"2", " 2", "2 ", " 02 ", "-1 ", " 2.0 ", " +2 ", ""}) {
    std::vector<std::string> lines = good_lines();
    lines.pop_back();
    lines[3] = count;
    expect_break(check_layout(joined(lines), kLayouts), 4, "Aliquote: atteso il numero di record");
  }
}

TEST(LayoutCheckBlocks, AMemoWithoutItsMarkerRunsToTheEndOfTheFile) {
  // The last memo's marker is missing: the memo swallows the line after it, then the file ends.
  std::vector<std::string> lines = good_lines();
  lines.pop_back();
  lines.erase(lines.begin() + 18);  // record 2's marker
  const LayoutCheck check = check_layout(joined(lines), kLayouts);
  expect_break(check, 20, "manca il segno di fine memo");
  EXPECT_NE(check.problem.find("Note, record 2, campo 2"), std::string::npos) << check.problem;
  ASSERT_EQ(check.blocks.size(), 1u);  // only the blocks read completely
  EXPECT_EQ(check.blocks[0].name, "Aliquote");
}

TEST(LayoutCheckBlocks, AMarkerWrittenInUtf8IsNoMarker) {
  std::vector<std::string> lines = good_lines();
  lines.pop_back();
  std::string utf8_marker = "@#\xC2\xA3$%&/()=?<>FINE MEMO@#\xC2\xA3$%&/()=?<>";
  lines[14] = utf8_marker;
  lines[18] = utf8_marker;
  expect_break(check_layout(joined(lines), kLayouts), 21, "manca il segno di fine memo");
}

TEST(LayoutCheckBlocks, AFileEndingInsideARecordNamesTheRecordAndField) {
  std::vector<std::string> lines = good_lines();
  lines.resize(7);  // record 2 of "Aliquote" has its first field only
  const LayoutCheck check = check_layout(joined(lines), kLayouts);
  expect_break(check, 8, "il file \xC3\xA8 finito");
  EXPECT_NE(check.problem.find("Aliquote, record 2, campo 2"), std::string::npos) << check.problem;

  // A count larger than the records that follow reads the next block's lines as values first.
  lines = good_lines();
  lines.pop_back();
  lines[9] = " 3 ";
  expect_break(check_layout(joined(lines), kLayouts), 21, "Note, record 3, campo 1");
}

TEST(LayoutCheckBlocks, AFileEndingBeforeABlockOrItsCount) {
  expect_break(check_layout(joined({" 0 ", "F", "Aliquote", " 0 "}), kLayouts), 5, "Note");
  expect_break(check_layout(joined({" 0 ", "F", "Aliquote", " 0 ", "Note"}), kLayouts), 6,
               "Note: atteso il numero di record");
}

TEST(LayoutCheckEnd, LinesAfterTheLastBlockAreReportedAtTheFirstOfThem) {
  expect_break(check_layout(joined(good_lines()), kLayouts), 21, "righe dopo l'ultimo blocco");
  expect_break(check_layout(good_file() + "\r\n", kLayouts), 21, "righe dopo l'ultimo blocco");
  // A count smaller than the records that follow leaves the rest over.
  std::vector<std::string> lines = good_lines();
  lines.pop_back();
  lines[9] = " 1 ";
  expect_break(check_layout(joined(lines), kLayouts), 17, "righe dopo l'ultimo blocco");
}

TEST(LayoutCheckEnd, ALastLineWithoutCrLfIsReportedWhereItStands) {
  std::string bytes = good_file();
  bytes.resize(bytes.size() - 2);  // the last value "fine" loses its CR LF
  expect_break(check_layout(bytes, kLayouts), 20, "il file \xC3\xA8 finito");

  bytes = good_file() + "x";
  expect_break(check_layout(bytes, kLayouts), 21, "(il file non termina con CR LF)");

  // A line ended by LF alone is no line end.
  std::vector<std::string> lines = good_lines();
  lines.pop_back();
  lines.pop_back();
  bytes = joined(lines) + "fine\n";
  const LayoutCheck check = check_layout(bytes, kLayouts);
  expect_break(check, 20, "(il file non termina con CR LF)");
  EXPECT_NE(check.problem.find("Note, record 2, campo 3"), std::string::npos) << check.problem;
}

}  // namespace
}  // namespace tarvik::transfer
