// The rows left out, found from the rows each block's query noted as giving no record, or, where a
// block has no such note, by reading its table again: either way the lists are the same, also
// when a header block had its note and its rows' block has none.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/run_archives.h"
#include "archive/database.h"
#include "report/left_out_rules.h"
#include "support/temp_dir.h"

namespace tarvik::test::report {
namespace {

using tarvik::report::BlockReport;
using tarvik::report::LeftOutFinder;

constexpr const char* kHeaders =
    "SELECT TestataFatture.* FROM TestataFatture INNER JOIN CliFor ON TestataFatture.idCliFor = CliFor.idCliFor";
constexpr const char* kRows =
    "SELECT RigheFatture.* FROM (RigheFatture INNER JOIN TestataFatture ON RigheFatture.idDocumento = "
    "TestataFatture.idDocumento) INNER JOIN CliFor ON TestataFatture.idCliFor = CliFor.idCliFor";

using Listed = std::vector<std::pair<std::string, std::string>>;

Listed listed(const BlockReport& block) {
  Listed rows;
  for (const auto& row : block.left_out.shown()) rows.emplace_back(row.key, row.reason);
  return rows;
}

class LeftOutFinderTest : public ::testing::Test {
 protected:
  // The block as the run hands it to the finder: its records written and, when `noted`, the rows
  // its query gave no record.
  BlockReport block(const std::string& name, const char* sql, bool noted) {
    auto records = db->open_snapshot(sql);
    while (!records->eof()) records->move_next();
    BlockReport report;
    report.name = name;
    report.written = records->record_count();
    if (noted) report.unmatched = records->take_unmatched_rows();
    EXPECT_EQ(report.unmatched.has_value(), noted);
    records->close();
    return report;
  }
  // Headers and rows through one finder, each with or without its note.
  std::pair<BlockReport, BlockReport> find(bool headers_noted, bool rows_noted) {
    LeftOutFinder finder;
    BlockReport headers = block("TestataFatture", kHeaders, headers_noted);
    finder.Find(*db, headers, {});
    BlockReport rows = block("RigheFatture", kRows, rows_noted);
    finder.Find(*db, rows, {});
    return {std::move(headers), std::move(rows)};
  }

  TempDir folder;
  run::WrittenSample sample = run::write_sample(folder.path());
  std::unique_ptr<archive::Database> db = archive::Database::open(sample.path.string());
};

TEST_F(LeftOutFinderTest, NotedRowsGiveTheListsThatReadingEveryRowGives) {
  const auto [headers, rows] = find(false, false);
  ASSERT_GT(headers.left_out.count(), 0);  // the sample has invoices of missing customers,
  ASSERT_GT(rows.left_out.count(), headers.left_out.count());  // and rows of those and of none

  for (const auto& [headers_noted, rows_noted] : {std::pair{true, true}, {true, false}, {false, true}}) {
    SCOPED_TRACE(std::to_string(headers_noted) + std::to_string(rows_noted));
    const auto [noted_headers, noted_rows] = find(headers_noted, rows_noted);
    EXPECT_EQ(listed(noted_headers), listed(headers));
    EXPECT_EQ(noted_headers.left_out.count(), headers.left_out.count());
    EXPECT_EQ(listed(noted_rows), listed(rows));
    EXPECT_EQ(noted_rows.left_out.count(), rows.left_out.count());
    EXPECT_EQ(noted_rows.extra_copies, rows.extra_copies);
    EXPECT_FALSE(noted_rows.unmatched) << "let go once used";
  }
}

// The rows' block reads its headers itself when no header block was examined before it.
TEST_F(LeftOutFinderTest, RowsWithoutTheirHeadersBlockGiveTheSameLists) {
  const auto [headers, rows] = find(false, false);
  for (const bool rows_noted : {false, true}) {
    SCOPED_TRACE(rows_noted);
    LeftOutFinder finder;
    BlockReport alone = block("RigheFatture", kRows, rows_noted);
    finder.Find(*db, alone, {});
    EXPECT_EQ(listed(alone), listed(rows));
    EXPECT_EQ(alone.left_out.count(), rows.left_out.count());
  }
}

}  // namespace
}  // namespace tarvik::test::report
