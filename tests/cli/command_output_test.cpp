// A command whose output cannot be written says so in Italian and exits with one, as a full disk
// under a redirected output does (/dev/full refuses every write with ENOSPC).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/dispatch.h"

namespace tarvik::cli {
namespace {

std::string read_back(std::FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  return text;
}

TEST(CommandOutput, AnOutputThatCannotBeWrittenIsSaidWithItsReason) {
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  std::FILE* err = std::tmpfile();
  const std::vector<std::string> args = {"dump", std::string(TARVIK_CORPUS_DIR) + "/jackcess/testV2000.mdb", "Table1"};
  const int code = run_cli(args, full, err);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(read_back(err), "tarvik-transfer: impossibile scrivere l'uscita: disco pieno\n");
  std::fclose(err);
  std::fclose(full);
}

}  // namespace
}  // namespace tarvik::cli
