// `tarvik-transfer query`: a query's rows in the canonical form of `dump`.
#include "cli/query_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "archive/archive_error.h"
#include "engine/engine_support.h"

namespace tarvik::test {
namespace {

std::vector<std::string> run(int (*command)(cli::CommandArgs, cli::CommandIo&), std::vector<std::string> args) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  cli::CommandIo io{out, err};
  command(args, io);
  std::rewind(out);
  std::vector<std::string> lines;
  std::string line;
  for (int c; (c = std::fgetc(out)) != EOF;) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(static_cast<char>(c));
    }
  }
  std::fclose(out);
  std::fclose(err);
  return lines;
}

TEST(QueryCommand, PrintsRowsAsDumpDoes) {
  ArchiveCopy archive{kComptoir};
  const auto query_lines = run(cli::run_query_command, {archive.path(), "SELECT * FROM Produit"});
  const auto dump_lines = run(cli::run_dump_command, {archive.path(), "Produit"});
  ASSERT_EQ(query_lines.size(), dump_lines.size());
  EXPECT_EQ(query_lines[0].substr(0, 34), "{\"query\":\"SELECT * FROM Produit\",\"");
  // Same columns, types and sizes as the table's description.
  EXPECT_EQ(query_lines[0].substr(query_lines[0].find("\"columns\"")),
            dump_lines[0].substr(dump_lines[0].find("\"columns\"")));
  for (std::size_t i = 1; i < query_lines.size(); ++i) EXPECT_EQ(query_lines[i], dump_lines[i]);
}

TEST(QueryCommand, PrintsJoinedAndComputedColumns) {
  ArchiveCopy archive{kComptoir};
  const auto lines = run(cli::run_query_command,
                         {archive.path(), "select CodeCli, count(NoCom) from Commande group by CodeCli having "
                                          "count(NoCom) > 30"});
  ASSERT_GE(lines.size(), 2u);
  EXPECT_NE(lines[0].find("[\"CodeCli\",\"text\",5],[\"Expr1001\",\"long\",4]"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].rfind("{\"CodeCli\":\"", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find(",\"Expr1001\":"), std::string::npos);
}

TEST(QueryCommand, ReportsTheEngineError) {
  ArchiveCopy archive{kComptoir};
  try {
    run(cli::run_query_command, {archive.path(), "SELECT Manca FROM Client"});
    FAIL();
  } catch (const archive::ArchiveError& e) {
    EXPECT_EQ(e.number(), 3061);
  }
}

}  // namespace
}  // namespace tarvik::test
