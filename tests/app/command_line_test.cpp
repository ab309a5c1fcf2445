// The transfer file path from the command line: default, trimming, and the one pair of quotes.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace tarvik::app {
namespace {

#ifndef _WIN32
// Windows reads the process's own command line instead (its rules: command_line_rules_test).
TEST(CommandLine, ArgumentsAreJoinedBySingleBlanks) {
  const char* argv[] = {"tarvik-export", "\"C:\\Dati", "export\\Prova.txt\""};
  EXPECT_EQ(CommandLineText(3, argv), "\"C:\\Dati export\\Prova.txt\"");
  EXPECT_EQ(CommandLineText(1, argv), "");
}
#endif

TEST(CommandLine, EmptyOrBlankTextGivesTheDefaultPath) {
  EXPECT_EQ(TransferPathFromCommandLine(""), "ProvaExport.txt");
  EXPECT_EQ(TransferPathFromCommandLine("   "), "ProvaExport.txt");
}

TEST(CommandLine, TextIsTakenUntrimmed) {
  EXPECT_EQ(TransferPathFromCommandLine(" out.txt "), " out.txt ");
  // Only blanks are trimmed for the emptiness test: a tab is a character of the path.
  EXPECT_EQ(TransferPathFromCommandLine("\t"), "\t");
}

TEST(CommandLine, OnePairOfSurroundingQuotesIsRemoved) {
  EXPECT_EQ(TransferPathFromCommandLine("\"/tmp/Dati export/Prova.txt\""), "/tmp/Dati export/Prova.txt");
  EXPECT_EQ(TransferPathFromCommandLine("\"\"a\"\""), "\"a\"");
  EXPECT_EQ(TransferPathFromCommandLine("\"a \"b\" c\""), "a \"b\" c");
  EXPECT_EQ(TransferPathFromCommandLine("\"\""), "");
}

TEST(CommandLine, QuotesFollowedByABlankAreKept) {
  // The pair test looks at the untrimmed text.
  EXPECT_EQ(TransferPathFromCommandLine("\"out.txt\" "), "\"out.txt\" ");
  EXPECT_EQ(TransferPathFromCommandLine(" \"out.txt\""), " \"out.txt\"");
}

TEST(CommandLine, ASingleQuoteCharacterIsThePath) {
  EXPECT_EQ(TransferPathFromCommandLine("\""), "\"");
  EXPECT_EQ(TransferPathFromCommandLine("\"out.txt"), "\"out.txt");
}

}  // namespace
}  // namespace tarvik::app
