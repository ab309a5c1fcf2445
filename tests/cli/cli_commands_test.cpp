// tarvik-transfer's commands run in-process on real corpus files: exit codes, error messages and
// the text they print. Expected values come from the corpus notes and the mdb-reader/Jackcess
// readings of the same files, not from our own output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "cli/dispatch.h"
#include "common/version.h"

namespace tarvik::cli {
namespace {

const std::string kCorpus = TARVIK_CORPUS_DIR;

struct CliRun {
  int exit_code;
  std::string out;
  std::string err;
};

std::string read_back(std::FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return text;
}

CliRun run(std::vector<std::string> args) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int code = run_cli(args, out, err);
  return {code, read_back(out), read_back(err)};
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "the output does not end in a newline";
  return lines;
}

TEST(CliUsage, WrongUsageExitsWithSixtyFourSayingWhatIsWrongInItalianThenTheUsage) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "nessun comando indicato"},
      {{"frob"}, "comando sconosciuto: 'frob'"},
      {{"dump", "only-one-argument"}, "dump: servono 2 argomenti, non 1"},
      {{"tables"}, "tables: serve 1 argomento, non 0"},
      {{"tables", "a", "b"}, "tables: serve 1 argomento, non 2"},
      {{"--version", "x"}, "--version non vuole argomenti"},
  };
  for (const auto& [args, message] : cases) {
    const CliRun r = run(args);
    EXPECT_EQ(r.exit_code, 64);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "tarvik-transfer: " + message);
    EXPECT_NE(r.err.find("\n\nuso: tarvik-transfer COMANDO ARGOMENTI...\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST(CliUsage, HelpPrintsEveryCommandWithItsArgumentsAndTheExitCodes) {
  const CliRun r = run({"help"});
  EXPECT_EQ(r.exit_code, 0);
  const std::vector<std::string> lines = lines_of(r.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "uso: tarvik-transfer COMANDO ARGOMENTI...");
  // Command and option names stay as scripts write them.
  for (const char* command : {"  tables ARCHIVIO", "  dump ARCHIVIO TABELLA",
                              "  export [--folder CARTELLA] [--output FILE] [--departments yes|no]",
                              "  report [--folder CARTELLA] [--output FILE.html] [--departments yes|no]",
                              "  verify FILE", "  query ARCHIVIO SQL", "  help", "  --version"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), command), lines.end()) << command;
  EXPECT_NE(r.out.find("64  comando scritto in modo sbagliato"), std::string::npos);
  EXPECT_NE(r.out.find("2   un errore imprevisto"), std::string::npos);
}

TEST(CliUsage, VersionPrintsTheBuildsVersionNumber) {
  const CliRun r = run({"--version"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, std::string("tarvik-transfer ") + kVersion + "\n");
  EXPECT_TRUE(std::regex_match(r.out, std::regex("tarvik-transfer [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << r.out;
  EXPECT_EQ(r.err, "");
}

TEST(CliErrors, ArchiveErrorsPrintNumberAndDescriptionAndExitWithOne) {
  const CliRun missing = run({"tables", kCorpus + "/no-such-archive.mdb"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err.rfind("Errore 3024: ", 0), 0u) << missing.err;

  const auto not_jet = std::filesystem::temp_directory_path() / "tarvik-cli-not-jet.mdb";
  std::ofstream(not_jet) << std::string(8192, 'x');
  const CliRun garbage = run({"dump", not_jet.string(), "Table1"});
  std::filesystem::remove(not_jet);
  EXPECT_EQ(garbage.exit_code, 1);
  EXPECT_EQ(garbage.err.rfind("Errore 3343: ", 0), 0u) << garbage.err;

  const CliRun unknown = run({"dump", kCorpus + "/jackcess/testV1997.mdb", "NoSuchTable"});
  EXPECT_EQ(unknown.exit_code, 1);
  EXPECT_EQ(unknown.err.rfind("Errore 3078: ", 0), 0u) << unknown.err;
  EXPECT_NE(unknown.err.find("NoSuchTable"), std::string::npos);
  EXPECT_EQ(unknown.out, "");
}

TEST(CliTables, ListsRowCountsAndTextSizesInCharactersForJet3AndJet4) {
  for (const char* file : {"/jackcess/testV1997.mdb", "/jackcess/testV2000.mdb"}) {
    const CliRun r = run({"tables", kCorpus + file});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const auto lines = lines_of(r.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Table1: 2 rows") << file;
    EXPECT_EQ(lines[1], "  A  text      50") << file;
    EXPECT_EQ(lines[2], "  B  text      100") << file;
    EXPECT_EQ(lines[9], "  I  boolean   1") << file;
    EXPECT_NE(r.out.find("\nTable2: 0 rows\n"), std::string::npos) << file;
  }
}

TEST(CliDump, HeaderThenOneCompactLinePerRowInScanOrder) {
  const CliRun r = run({"dump", kCorpus + "/ucanaccess/functionsV2000.mdb", "T_FUNCS"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto lines = lines_of(r.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0],
            R"({"table":"t_funcs","columns":[["id","integer",2],["descr","memo",0],)"
            R"(["num","numeric",17],["date0","datetime",8]]})");
  EXPECT_EQ(lines[1],
            R"({"id":1234,"descr":"Show must go off","num":"-1110.554","date0":"2003-11-22 22:42:58"})");
}

TEST(CliDump, MovedRowsComeOutAtTheirOriginalPlace) {
  // Jackcess' test of this file expects the rows in insertion order, "row3" and "row5" included.
  const CliRun r = run({"dump", kCorpus + "/jackcess/overflowTestV2000.mdb", "Table1"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto lines = lines_of(r.out);
  ASSERT_EQ(lines.size(), 8u);
  for (int row = 1; row <= 7; ++row)
    EXPECT_NE(lines[row].find("\"row" + std::to_string(row) + "col"), std::string::npos)
        << lines[row];
}

TEST(CliDump, NegativeDayCountsPrintTheTimeOfDayForward) {
  const CliRun r = run({"dump", kCorpus + "/jackcess/testIndexCodesV1997.mdb", "Table6"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find(R"({"name":"row14","data":"1899-09-27 10:19:15"})"), std::string::npos);
  EXPECT_NE(r.out.find(R"({"name":"row19","data":"1899-12-29 02:24:00"})"), std::string::npos);
}

}  // namespace
}  // namespace tarvik::cli
