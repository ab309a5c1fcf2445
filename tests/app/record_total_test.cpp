// The record total with the tables counted ahead on the archive's second thread, from the last,
// while the total counts from the first: the same total and table counts as plain scans give, and
// on an archive without Tarvik's tables, the error of the first table missing, as before.
#include <gtest/gtest.h>

#include "app/ahead/second_thread.h"
#include "app/record_total.h"
#include "app/run_archives.h"
#include "archive/archive_error.h"
#include "engine/engine_support.h"
#include "support/recording_window.h"
#include "support/temp_dir.h"

namespace tarvik::test {
namespace {

// The total's tables counted on a second thread from the last, as the run has them counted.
void CountFromTheLastOn(app::SecondThread& second, archive::Database& archive) {
  second.run([&archive] {
    const auto tables = app::CountedTables();
    for (auto table = tables.rbegin(); table != tables.rend(); ++table) app::CountTableEarly(archive, *table);
  });
}

TEST(RecordTotal, TablesCountedAheadGiveThePlainScansCounts) {
  TempDir dir;
  run::write_sample(dir.path());
  const auto path = dir / run::kArchiveName;
  const auto file = archive::jet::JetFile::open(path.string());
  // Counted at once after asking (the two threads meet somewhere in the list), and after the
  // second thread has counted every table.
  for (const bool wait : {false, true}) {
    SCOPED_TRACE(wait ? "after the counts" : "at once");
    RecordingWindow window;
    app::RunContext context(window, dir / "ProvaExport.txt");
    context.open_archive = archive::Database::open(path.string());
    context.report = std::make_unique<report::TransferReport>();
    app::SecondThread second(*context.open_archive);
    CountFromTheLastOn(second, *context.open_archive);
    if (wait) second.finish();
    app::ComputeTotal(context);
    EXPECT_EQ(context.total, run::record_total(path));
    for (const std::string& table : run::counted_tables())
      EXPECT_EQ(context.report->table_counts().at(table), run::count_rows(*file, table)) << table;
  }
}

TEST(RecordTotal, AMissingTableIsTheFirstOneMissingAndTheCountsAheadKeepNoError) {
  ArchiveCopy copy(kComptoir);  // none of Tarvik's tables
  RecordingWindow window;
  TempDir dir;
  app::RunContext context(window, dir / "ProvaExport.txt");
  context.open_archive = archive::Database::open(copy.path());
  app::SecondThread second(*context.open_archive);
  CountFromTheLastOn(second, *context.open_archive);
  EXPECT_NO_THROW(second.finish());  // every table failed there, silently
  try {
    app::ComputeTotal(context);
    ADD_FAILURE() << "no error";
  } catch (const archive::ArchiveError& e) {
    EXPECT_EQ(e.number(), 3078);
    EXPECT_NE(e.description().find(run::counted_tables().front()), std::string::npos) << e.description();
  }
}

}  // namespace
}  // namespace tarvik::test
