// The run's second thread. Snapshots opened ahead there: a set taken from the preparation must be
// the set a fresh open gives, in every state a caller can see (its first row, its count before and
// after move_last, every row), and a preparation that fails or is never taken must change nothing.
// Jobs run behind the caller in order, and their errors come out of finish().
#include <gtest/gtest.h>

#include <filesystem>
#include <atomic>
#include <future>

#include "app/ahead/second_thread.h"
#include "app/run_archives.h"
#include "archive/archive_error.h"
#include "engine/engine_support.h"
#include "engine/sample_archive_suite.h"
#include "exporters/run_plan.h"

namespace tarvik::test {
namespace {

using archive::Database;

// What a caller sees of a set, from its opening to its end.
struct Seen {
  bool bof = false, eof = false;
  std::int32_t count_on_opening = 0;
  std::int32_t count = 0;
  Rows rows;
  bool operator==(const Seen&) const = default;
};

Seen see(archive::Recordset& rs) {
  Seen seen;
  seen.bof = rs.bof();
  seen.eof = rs.eof();
  seen.count_on_opening = rs.record_count();
  seen.rows = read_all(rs, &seen.count);
  return seen;
}

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
  return out << "bof " << seen.bof << " eof " << seen.eof << ", count " << seen.count_on_opening << " then "
             << seen.count << ", " << seen.rows.size() << " rows";
}

class SecondThreadReads : public SampleArchiveSuite {
 protected:
  static Seen fresh(const std::string& sql) {
    auto db = Database::open(archive_path());
    auto rs = db->open_snapshot(sql);
    return see(*rs);
  }
};

TEST_F(SecondThreadReads, EveryStagesQueryReadsAsWhenOpenedThen) {
  // Every stage's query (joins, a sort, empty tables, memos), and a grouped one, prepared a few
  // ahead as the run asks for them; each is checked against an archive of its own.
  std::vector<std::string> queries;
  for (const auto& stage : exporters::run_plan()) queries.push_back(stage.query);
  queries.push_back("SELECT idCliFor, COUNT(*) FROM Agenti GROUP BY idCliFor");
  std::vector<Seen> expected;
  for (const std::string& sql : queries) expected.push_back(fresh(sql));
  auto db = Database::open(archive_path());
  app::SecondThread second(*db);
  std::size_t asked = 0;
  for (std::size_t i = 0; i < queries.size(); ++i) {
    for (; asked < queries.size() && asked <= i + 2; ++asked) second.prepare(queries[asked]);
    SCOPED_TRACE(queries[i]);
    auto rs = db->open_snapshot(queries[i]);
    EXPECT_EQ(see(*rs), expected[i]);
  }
}

TEST_F(SecondThreadReads, AFailedPreparationLeavesTheErrorToTheOpen) {
  const char* const failing[] = {
      "SELECT * FROM NessunaTabella",                                 // 3078
      "SELECT NessunaColonna FROM CliFor",                            // 3061
      "SELECT * FROM CliFor INNER JOIN Agenti ON CliFor.Note = Agenti.idCliFor",  // a type mismatch
  };
  const Rows conditions = fresh("SELECT * FROM CondPag").rows;
  for (const char* sql : failing) {
    SCOPED_TRACE(sql);
    int expected = 0;
    try {
      Database::open(archive_path())->open_snapshot(sql);
    } catch (const archive::ArchiveError& e) {
      expected = e.number();
    }
    ASSERT_NE(expected, 0);
    auto db = Database::open(archive_path());
    app::SecondThread second(*db);
    second.prepare(sql);
    try {
      db->open_snapshot(sql);
      ADD_FAILURE() << "no error";
    } catch (const archive::ArchiveError& e) {
      EXPECT_EQ(e.number(), expected);
    }
    // The archive is still usable after the failure.
    EXPECT_EQ(query(*db, "SELECT * FROM CondPag"), conditions);
  }
}

TEST_F(SecondThreadReads, PreparationsTakenOutOfOrderOrNeverAreHarmless) {
  const std::string a = "SELECT * FROM CliFor";
  const std::string b = "SELECT Agenti.* FROM Agenti INNER JOIN CliFor ON Agenti.idCliFor = CliFor.idCliFor";
  const std::string c = "SELECT * FROM Magazzino";
  const Seen seen_a = fresh(a), seen_b = fresh(b), seen_c = fresh(c);
  auto db = Database::open(archive_path());
  auto second = std::make_unique<app::SecondThread>(*db);
  second->prepare(a);
  second->prepare(b);
  second->prepare(c);
  second->prepare(c);  // the same statement twice: each open takes one
  // Taking c drops a and b, which were asked for first: they are then opened here.
  EXPECT_EQ(see(*db->open_snapshot(c)), seen_c);
  EXPECT_EQ(see(*db->open_snapshot(a)), seen_a);
  EXPECT_EQ(see(*db->open_snapshot(b)), seen_b);
  EXPECT_EQ(see(*db->open_snapshot(c)), seen_c);
  EXPECT_EQ(see(*db->open_snapshot(c)), seen_c);

  // Sets prepared and never taken are let go when the thread stops; the archive then opens every
  // set itself, and the thread ignores new requests.
  second->prepare(a);
  second->prepare(b);
  second->stop();
  EXPECT_EQ(see(*db->open_snapshot(a)), seen_a);
  second->prepare(b);
  EXPECT_EQ(second->take(b), nullptr);
  second.reset();
  db->close();
  EXPECT_THROW(db->open_snapshot(a), archive::ArchiveError);
  auto other = Database::open(archive_path());  // the hold was released
  app::SecondThread other_second(*other);
  other_second.prepare(c);
}  // and a thread destroyed with a preparation under way waits for it

// Jobs run behind the caller in the order asked, and may read the archive, even a statement whose
// preparation is waiting behind the job itself, without waiting for themselves.
TEST_F(SecondThreadReads, JobsRunInOrderAndReadTheArchive) {
  const std::string a = "SELECT * FROM CliFor";
  const std::string b = "SELECT * FROM Magazzino";
  const Seen seen_a = fresh(a), seen_b = fresh(b);
  auto db = Database::open(archive_path());
  app::SecondThread second(*db);
  std::vector<int> order;
  std::vector<Seen> seen_by_jobs;
  std::promise<void> started, asked;
  std::future<void> job_started = started.get_future();
  std::shared_future<void> a_asked = asked.get_future().share();
  second.run([&, a_asked, &archive = *db] {
    started.set_value();
    a_asked.wait();  // a's preparation now waits for this job to end
    order.push_back(1);
    seen_by_jobs.push_back(see(*archive.open_snapshot(a)));
  });
  job_started.wait();
  second.prepare(a);
  asked.set_value();
  second.run([&, &archive = *db] {
    order.push_back(2);
    seen_by_jobs.push_back(see(*archive.open_snapshot(b)));
  });
  second.prepare(b);
  second.run([&] { order.push_back(3); });
  EXPECT_EQ(see(*db->open_snapshot(a)), seen_a);  // prepared for the caller, not for the job
  EXPECT_EQ(see(*db->open_snapshot(b)), seen_b);  // taking it leaves the jobs around it alone
  second.finish();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(seen_by_jobs, (std::vector<Seen>{seen_a, seen_b}));
  second.finish();  // nothing left: returns at once
}

TEST_F(SecondThreadReads, AJobsErrorComesOutOfFinishOnce) {
  auto db = Database::open(archive_path());
  app::SecondThread second(*db);
  int ran = 0;
  second.run([&] { ++ran, db->open_snapshot("SELECT * FROM NessunaTabella"); });
  second.run([&] { ++ran; });  // a failed job does not stop the next
  second.run([&] { ++ran, throw std::runtime_error("second"); });
  try {
    second.finish();
    ADD_FAILURE() << "no error";
  } catch (const archive::ArchiveError& e) {
    EXPECT_EQ(e.number(), 3078);  // the first error asked, not the last
  }
  EXPECT_EQ(ran, 3);
  EXPECT_NO_THROW(second.finish());  // each error is thrown once

  // Stopping drops the jobs not yet begun; new ones are then ignored, and finish has none.
  std::atomic<int> read{0};
  for (int i = 0; i < 50; ++i) second.run([&] { query(*db, "SELECT * FROM CliFor"), ++read; });
  second.stop();
  const int read_when_stopped = read;
  EXPECT_LT(read_when_stopped, 50);
  second.run([&] { ++read; });
  EXPECT_NO_THROW(second.finish());
  EXPECT_EQ(read, read_when_stopped);
}

}  // namespace
}  // namespace tarvik::test
