// A run that finishes: the transfer file complete at its path, header line 1 the total of the 34
// whole-table counts, every block in the run plan's order, the archive closed and unchanged, and the
// window unloaded without any message of the run's own.
#include <gtest/gtest.h>

#include "app/export_run_fixture.h"

namespace tarvik::test::run {
namespace {

using app::RunOutcome;

class FinishedRun : public ExportRunTest {
 protected:
  void expect_finished() {
    EXPECT_TRUE(window_.unloaded);
    EXPECT_FALSE(window_.busy);
    EXPECT_FALSE(window_.error_panel_shown);
    EXPECT_TRUE(window_.button_enabled);
    // The transfer file and its report, nothing else.
    EXPECT_EQ(folder_entries(output_.path()), (std::vector<std::string>{"ProvaExport.html", "ProvaExport.txt"}));
    expect_archive_released();
  }
};

TEST_F(FinishedRun, AnEmptyArchiveGivesTheHeaderAndEveryBlockEmptyInRunPlanOrder) {
  SchemaArchive().write(archives_.path());
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Finished);
  expect_finished();
  EXPECT_TRUE(window_.messages.empty());
  std::vector<std::string> expected = {" 0 ", "F"};
  for (const char* block :
       {"TabellaAspettoBeni", "BancheAppoggio", "TabellaCausaliTrasporto", "CondPag", "TabellaIVA",
        "TabellaProduttori", "TabellaVettori", "CausPrim", "TabellaContiCorrenti", "CliFor", "Agenti",
        "LinkAgentiCliFor", "Magazzino", "BarcodeMagazzino", "GiornaleMagazzino", "LinkMagazzinoFornitori",
        "DistinteMagazzino", "StampaPersonalizzata", "StampaPersonalizzata2", "TestataFattAcc", "RigheFattAcc",
        "TestataFatture", "RigheFatture", "TestataBolle", "RigheBolle", "TestataOrdCli", "RigheOrdCli",
        "TestataPreventivi", "RighePreventivi", "TestataDocGen1", "RigheDocGen1", "TestataOrdForn",
        "RigheOrdForn", "PrimanotaDocumenti", "PrimanotaMovimenti", "ProgrDocumenti"}) {
    expected.push_back(block);
    expected.push_back(" 0 ");
  }
  EXPECT_EQ(transfer_lines(transfer_path()), expected);
}

TEST_F(FinishedRun, TheSampleArchiveIsExportedWholeAndLeftAsItWas) {
  const WrittenSample sample = write_sample(archives_.path());
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Finished);
  expect_finished();
  ASSERT_EQ(window_.messages.size(), 1u);  // only the department question
  EXPECT_EQ(window_.messages[0].style, 52);

  // Header line 1: the 34 tables' whole counts, as the generator wrote them and as a plain scan
  // of the file reads them.
  std::int64_t generated = 0;
  for (const std::string& table : counted_tables()) generated += static_cast<std::int64_t>(sample.rows_of(table));
  EXPECT_EQ(generated, record_total(archive_path()));
  const std::vector<std::string> lines = transfer_lines(transfer_path());
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], " " + std::to_string(generated) + " ");

  const transfer::LayoutCheck file = check_transfer_file();
  ASSERT_TRUE(file.ok) << file.bad_line << ": " << file.problem;
  EXPECT_EQ(file.blocks.size(), 36u);
  EXPECT_EQ(file.blocks.back().name, "ProgrDocumenti");
  EXPECT_EQ(file.blocks.back().records, static_cast<std::int64_t>(sample.rows_of("ProgrDocumenti")));
}

// The stages written ahead on the second thread spill their lines to scratch files beyond their
// memory: with no memory at all every line goes that way, and the file is the same, with nothing
// left beside it; with no room for scratch files either, the stages are written on one thread.
TEST_F(FinishedRun, StagesWrittenAheadGiveTheSameFileWhenEveryLineSpills) {
  write_sample(archives_.path());
  ASSERT_EQ(press(archive_folder_text()), RunOutcome::Finished);
  const std::vector<std::string> in_memory = transfer_lines(transfer_path());
  const std::int32_t records_in_memory = done_;
  recording_memory_ = 0;
  ASSERT_EQ(press(archive_folder_text()), RunOutcome::Finished);
  expect_finished();
  EXPECT_TRUE(transfer_lines(transfer_path()) == in_memory) << "the transfer files differ";
  EXPECT_EQ(done_, records_in_memory);
  // With no room for scratch files either, every recording fails and its stage is written again
  // in its turn: the same file still.
  recording_disk_ = 0;
  ASSERT_EQ(press(archive_folder_text()), RunOutcome::Finished);
  expect_finished();
  EXPECT_TRUE(transfer_lines(transfer_path()) == in_memory) << "the transfer files differ";
  EXPECT_EQ(done_, records_in_memory);
}

TEST_F(FinishedRun, AnOlderTransferFileIsReplaced) {
  SchemaArchive().write(archives_.path());
  leave_older_transfer_file();
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Finished);
  expect_finished();
  const std::vector<std::string> lines = transfer_lines(transfer_path());
  ASSERT_EQ(lines.size(), 2u + 2 * 36);
  EXPECT_EQ(lines[0], " 0 ");
  EXPECT_EQ(lines[2], "TabellaAspettoBeni");
}

}  // namespace
}  // namespace tarvik::test::run
