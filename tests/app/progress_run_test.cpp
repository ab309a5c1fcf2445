// Progress during a run: a caption at every hundredth record exported, of the records done over
// the total of whole tables, each followed by one pass of the window's events, and nothing between.
#include <gtest/gtest.h>

#include "app/export_run_fixture.h"

namespace tarvik::test::run {
namespace {

using app::RunOutcome;
using archive::Value;

// Records the captions and event passes in the order they came, "events" for a pass.
class JournalWindow : public RecordingWindow {
 public:
  void set_progress_caption(const std::string& caption) override {
    RecordingWindow::set_progress_caption(caption);
    journal.push_back(caption);
  }
  void process_events() override {
    RecordingWindow::process_events();
    journal.push_back("events");
  }
  std::vector<std::string> journal;
};

// Each caption followed by one event pass.
std::vector<std::string> captions_with_events(std::int64_t last, std::int64_t total) {
  std::vector<std::string> journal;
  for (std::int64_t done = 100; done <= last; done += 100) {
    journal.push_back("Avanzamento: " + std::to_string(done) + "/" + std::to_string(total));
    journal.push_back("events");
  }
  return journal;
}

class ProgressRun : public ExportRunTest {
 protected:
  app::RunOutcome press_on_journal(const std::string& folder) { return press_on(journal_window_, folder); }
  JournalWindow journal_window_;
};

SchemaArchive with_packaging_kinds(int count) {
  SchemaArchive archive;
  for (int i = 0; i < count; ++i) archive.row("TabellaAspettoBeni", {{"Descrizione", Value::text(u"Cartone")}});
  return archive;
}

TEST_F(ProgressRun, ACaptionAtEveryHundredthRecordAndEventsOnlyThen) {
  with_packaging_kinds(250).write(archives_.path());
  EXPECT_EQ(press_on_journal(archive_folder_text()), RunOutcome::Finished);
  EXPECT_EQ(journal_window_.journal, captions_with_events(250, 250));
  EXPECT_EQ(done_, 250);
}

TEST_F(ProgressRun, FewerThanAHundredRecordsLeaveTheLabelAlone) {
  with_packaging_kinds(99).write(archives_.path());
  EXPECT_EQ(press_on_journal(archive_folder_text()), RunOutcome::Finished);
  EXPECT_TRUE(journal_window_.journal.empty());
  EXPECT_EQ(done_, 99);
}

TEST_F(ProgressRun, RecordsLeftOutByAJoinStillCountInTheTotal) {
  // 300 stock movements of an item that does not exist: counted in the total, never exported.
  SchemaArchive archive = with_packaging_kinds(200);
  for (int i = 0; i < 300; ++i) archive.row("GiornaleMagazzino", {{"Codice", Value::text(u"ELIMINATO")}});
  archive.write(archives_.path());
  EXPECT_EQ(press_on_journal(archive_folder_text()), RunOutcome::Finished);
  EXPECT_EQ(journal_window_.journal, captions_with_events(200, 500));
}

TEST_F(ProgressRun, BarcodesAreExportedButNotCountedSoDoneCanPassTheTotal) {
  SchemaArchive archive;
  for (int i = 1000; i < 1150; ++i) {
    const std::string code = std::to_string(i);
    archive.row("Magazzino", {{"Codice", Value::text(std::u16string(code.begin(), code.end()))},
                              {"Barcode", Value::text(u"8001234567890")}});
  }
  archive.write(archives_.path());
  EXPECT_EQ(press_on_journal(archive_folder_text()), RunOutcome::Finished);
  EXPECT_EQ(journal_window_.journal, captions_with_events(300, 150));
}

TEST_F(ProgressRun, TheSampleArchiveShowsEveryHundredthRecordOfItsWholeRun) {
  write_sample(archives_.path());
  EXPECT_EQ(press_on_journal(archive_folder_text()), RunOutcome::Finished);
  const transfer::LayoutCheck file = check_transfer_file();
  ASSERT_TRUE(file.ok) << file.bad_line << ": " << file.problem;
  // Every record written was counted once; so were the four print layout entries the run reads but
  // never writes.
  std::int64_t written = 0;
  for (const auto& block : file.blocks) written += block.records;
  EXPECT_EQ(done_, written + 4);
  EXPECT_EQ(total_, record_total(archive_path()));
  EXPECT_EQ(journal_window_.journal, captions_with_events(done_, total_));
}

}  // namespace
}  // namespace tarvik::test::run
