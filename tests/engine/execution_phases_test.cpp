// The executor driven directly on a sample archive that holds orphans: its phases (an operation
// out of turn is a logic_error, not a silent wrong row), a count's trail replayed against a fresh
// walk, and the unmatched rows a walk notes against the orphans worked out from plain scans.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "archive/sql/execution_state.h"
#include "archive/sql/executor.h"
#include "archive/sql/parser.h"
#include "archive/sql/spine_cursor.h"
#include "engine/engine_support.h"
#include "engine/sample_archive_suite.h"

namespace tarvik::test {
namespace {

using archive::sql::Execution;

constexpr const char* kInvoicesOfCustomers =
    "SELECT TestataFatture.idDocumento, CliFor.idCliFor FROM TestataFatture INNER JOIN CliFor ON "
    "TestataFatture.idCliFor = CliFor.idCliFor";
constexpr const char* kRowsOfInvoicesOfCustomers =
    "SELECT RigheFatture.* FROM (RigheFatture INNER JOIN TestataFatture ON RigheFatture.idDocumento = "
    "TestataFatture.idDocumento) INNER JOIN CliFor ON TestataFatture.idCliFor = CliFor.idCliFor";
constexpr const char* kDestinations =
    "SELECT TestataFattAcc.idDocumento, CliFor.idCliFor FROM TestataFattAcc LEFT JOIN CliFor ON "
    "TestataFattAcc.idDestinazione = CliFor.idCliFor";
constexpr const char* kFilteredItems = "SELECT Codice, Barcode FROM Magazzino WHERE LEN(Barcode) > 0";

class ExecutionPhases : public SampleArchiveSuite {
 protected:
  std::unique_ptr<archive::jet::JetFile> file = archive::jet::JetFile::open(archive_path());

  archive::sql::Plan plan_of(const char* text) {
    return archive::sql::make_plan(archive::sql::parse(text), [this](std::string_view name) { return file->table(name); });
  }
};

Rows walk(Execution& ex) {
  Rows rows;
  std::vector<Value> row;
  ex.restart();
  while (ex.next()) {
    ex.output(row);
    rows.push_back(row);
  }
  return rows;
}

TEST_F(ExecutionPhases, OperationsOutOfTurnAreLogicErrors) {
  const archive::sql::Plan plan = plan_of(kInvoicesOfCustomers);
  Execution ex(*file, plan);
  std::vector<Value> row;
  EXPECT_THROW(ex.next(), std::logic_error) << "no restart yet";
  ex.restart();
  EXPECT_THROW(ex.output(row), std::logic_error) << "restarted, no row yet";
  ASSERT_TRUE(ex.next());
  EXPECT_NO_THROW(ex.output(row));
  while (ex.next()) {
  }
  EXPECT_FALSE(ex.next()) << "past the end it stays there";
  EXPECT_THROW(ex.current_row(row), std::logic_error);

  const std::int64_t n = ex.count();
  EXPECT_THROW(ex.next(), std::logic_error) << "a count ran the walk: restart first";
  ex.restart();
  std::int64_t replayed = 0;
  while (ex.next()) ++replayed;
  EXPECT_EQ(replayed, n);

  ex.materialize();
  EXPECT_THROW(ex.next(), std::logic_error) << "a materialize ran the walk: restart first";
}

TEST_F(ExecutionPhases, TheCursorRefusesToWalkOnFromAReplayedRow) {
  const archive::sql::Plan plan = plan_of(kInvoicesOfCustomers);
  Execution::State st(*file, plan, nullptr);
  archive::sql::SpineCursor cursor(st, *plan.from, true);
  EXPECT_THROW(cursor.next(), std::logic_error);
  cursor.restart();
  ASSERT_TRUE(cursor.next());
  std::vector<std::int32_t> trail;
  cursor.append_trail(trail);
  ASSERT_EQ(trail.size(), cursor.trail_width());
  cursor.replay(trail.data());
  EXPECT_THROW(cursor.next(), std::logic_error);
  cursor.restart();
  EXPECT_TRUE(cursor.next());
}

TEST_F(ExecutionPhases, ACountsTrailReplaysTheRowsOfAFreshWalk) {
  for (const char* sql : {kInvoicesOfCustomers, kRowsOfInvoicesOfCustomers, kDestinations, kFilteredItems}) {
    SCOPED_TRACE(sql);
    const archive::sql::Plan plan = plan_of(sql);
    Execution fresh(*file, plan);
    const Rows expected = walk(fresh);
    ASSERT_FALSE(expected.empty());

    Execution counted(*file, plan);
    EXPECT_EQ(counted.count(), static_cast<std::int64_t>(expected.size()));
    EXPECT_EQ(walk(counted), expected);
    EXPECT_EQ(walk(counted), expected) << "replayed a second time";
  }
}

TEST_F(ExecutionPhases, GroupsAfterACountWalkTheQueryAgain) {
  const archive::sql::Plan plan = plan_of(
      "SELECT idCliFor, COUNT(*) FROM TestataFatture GROUP BY idCliFor HAVING COUNT(*) > 1");
  Execution fresh(*file, plan);
  const Rows expected = fresh.materialize();
  ASSERT_FALSE(expected.empty());
  Execution counted(*file, plan);
  counted.count();
  EXPECT_EQ(counted.materialize(), expected);
}

// The orphans of a join worked out from plain scans: the pointers of the left table's rows whose
// key no row of the right table holds, in scan order.
std::vector<std::uint32_t> orphans(const archive::jet::JetFile& file, const std::string& left, const std::string& key,
                                   const std::string& right) {
  std::set<std::int64_t> held;
  const auto right_def = file.table(right);
  std::size_t right_key = 0;
  while (right_def.columns[right_key].name != key) ++right_key;
  auto right_scan = file.scan(right_def);
  std::vector<Value> row;
  while (right_scan.next(row))
    if (!row[right_key].is_null()) held.insert(row[right_key].as_long());
  const auto left_def = file.table(left);
  std::size_t left_key = 0;
  while (left_def.columns[left_key].name != key) ++left_key;
  auto left_scan = file.scan(left_def);
  std::vector<std::uint32_t> pointers;
  while (left_scan.next(row)) {
    if (row[left_key].is_null() || !held.contains(row[left_key].as_long())) pointers.push_back(left_scan.row_pointer());
  }
  return pointers;
}

TEST_F(ExecutionPhases, AWalkNotesTheLeftRowsWithoutAMatch) {
  const std::vector<std::uint32_t> expected = orphans(*file, "TestataFatture", "idCliFor", "CliFor");
  ASSERT_FALSE(expected.empty()) << "the sample holds invoices of missing customers";
  const archive::sql::Plan plan = plan_of(kInvoicesOfCustomers);

  Execution walked(*file, plan);
  walk(walked);
  std::optional<archive::UnmatchedRows> noted = walked.take_unmatched();
  ASSERT_TRUE(noted);
  EXPECT_EQ(noted->pointers, expected);
  EXPECT_EQ(noted->rows_read, file->row_count(file->table("TestataFatture")));
  EXPECT_FALSE(walked.take_unmatched()) << "taken once";

  Execution counted(*file, plan);
  counted.count();
  noted = counted.take_unmatched();
  ASSERT_TRUE(noted) << "the count's walk ran to its end";
  EXPECT_EQ(noted->pointers, expected);
  walk(counted);
  EXPECT_FALSE(counted.take_unmatched()) << "replaying the trail walks nothing";
}

}  // namespace
}  // namespace tarvik::test
