// Errors nobody handles end the run in the run-wide handler: one message with the error's number
// and description, and no transfer file at the path afterwards, neither this run's nor an older one.
#include <gtest/gtest.h>

#include "app/export_run_fixture.h"

namespace tarvik::test::run {
namespace {

using app::RunOutcome;
using archive::Value;

class UnexpectedErrorRun : public ExportRunTest {
 protected:
  // The run failed with exactly one message box, the composed error message; the file at the
  // transfer path is gone, and so is every file the run began.
  void expect_failed_with(const std::string& message) {
    ASSERT_FALSE(window_.messages.empty());
    EXPECT_EQ(window_.messages.back().text, message);
    EXPECT_EQ(window_.messages.back().title, kTitle);
    EXPECT_EQ(window_.messages.back().style, 48);
    EXPECT_FALSE(window_.unloaded);
    EXPECT_FALSE(window_.error_panel_shown);
    expect_no_transfer_file();
  }
};

TEST_F(UnexpectedErrorRun, AColumnAnExporterReadsIsMissingHalfwayThroughTheFile) {
  // 250 records before the last block, so the run has written and shown progress when the
  // numbering counters, the last block, lack the number they carry.
  SchemaArchive archive;
  for (int i = 0; i < 250; ++i) archive.row("TabellaAspettoBeni", {{"Descrizione", Value::text(u"Scatola")}});
  archive.row("ProgrDocumenti", {{"Anno", Value::integer(2005)}, {"TipoDocumento", Value::text(u"F_")}})
      .without_column("ProgrDocumenti", "Progressivo")
      .write(archives_.path());
  leave_older_transfer_file();

  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Failed);
  EXPECT_EQ(window_.captions, (std::vector<std::string>{"Avanzamento: 100/251", "Avanzamento: 200/251"}));
  ASSERT_EQ(window_.messages.size(), 1u);
  expect_failed_with(
      "Si \xC3\xA8 verificato un errore imprevisto n. 3265 descrizione dell'errore:\n\n"
      "Elemento non trovato nell'insieme.");
}

TEST_F(UnexpectedErrorRun, ATableMissingFromTheTotalFailsAfterTheFileWasCreated) {
  SchemaArchive().without_table("RigheOrdForn").write(archives_.path());
  leave_older_transfer_file();
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Failed);
  ASSERT_EQ(window_.messages.size(), 1u);
  expect_failed_with(
      "Si \xC3\xA8 verificato un errore imprevisto n. 3078 descrizione dell'errore:\n\n"
      "Impossibile trovare la tabella o la query di input 'RigheOrdForn'.");
}

TEST_F(UnexpectedErrorRun, AnErrorInACheckBeforeTheFileIsCreatedStillDeletesAnOlderFile) {
  SchemaArchive().without_table("LinkMagazzinoFornitori").write(archives_.path());
  leave_older_transfer_file();
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Failed);
  ASSERT_EQ(window_.messages.size(), 1u);
  expect_failed_with(
      "Si \xC3\xA8 verificato un errore imprevisto n. 3078 descrizione dell'errore:\n\n"
      "Impossibile trovare la tabella o la query di input 'LinkMagazzinoFornitori'.");
  EXPECT_TRUE(window_.button_enabled);  // not a check's refusal
}

// A damaged archive is reported with its own error, not refused as an outdated one: the first
// 100 KB hold the catalog, so the open succeeds and the schema check's probe meets the damage.
TEST_F(UnexpectedErrorRun, AnArchiveCutShortIsDamagedNotOutdated) {
  write_sample(archives_.path());
  std::filesystem::resize_file(archive_path(), 100 * 1024);
  archive::Database::open(archive_path().string())->close();
  leave_older_transfer_file();

  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Failed);
  ASSERT_EQ(window_.messages.size(), 1u);
  const std::string prefix =
      "Si \xC3\xA8 verificato un errore imprevisto n. 3049 descrizione dell'errore:\n\n"
      "Il database \xC3\xA8 danneggiato";
  EXPECT_EQ(window_.messages.back().text.substr(0, prefix.size()), prefix) << window_.messages.back().text;
  expect_failed_with(window_.messages.back().text);
  EXPECT_TRUE(window_.button_enabled);  // not a check's refusal
}

TEST_F(UnexpectedErrorRun, AnArchiveInUseByAnotherExportCannotBeOpened) {
  write_sample(archives_.path());
  leave_older_transfer_file();
  const auto holder = archive::Database::open(archive_path().string());

  // The archive path is the box's text with the separator, followed by the archive's name.
  const std::string opened = archive_folder_text() + kSep + "Tarvik.mdb";
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Failed);
  ASSERT_EQ(window_.messages.size(), 1u);
  expect_failed_with("Si \xC3\xA8 verificato un errore imprevisto n. 3045 descrizione dell'errore:\n\n"
                     "Impossibile utilizzare '" + opened + "'; file gi\xC3\xA0 in uso.");
  holder->close();
}

TEST_F(UnexpectedErrorRun, ATransferFileInAMissingFolderCannotBeCreated) {
  write_sample(archives_.path());
  window_.folder = archive_folder_text();
  app::RunContext context(window_, output_ / "Esportazioni" / "ProvaExport.txt");
  EXPECT_EQ(app::Command1_Click(context), RunOutcome::Failed);
  ASSERT_EQ(window_.messages.size(), 1u);
  expect_failed_with("Si \xC3\xA8 verificato un errore imprevisto n. 76 descrizione dell'errore:\n\n"
                     "Impossibile trovare il percorso");
}

TEST_F(UnexpectedErrorRun, AFileThatIsNotAJetArchiveIsReportedByTheEngine) {
  std::ofstream(archive_path(), std::ios::binary) << std::string(8192, 'x');
  leave_older_transfer_file();
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Failed);
  ASSERT_EQ(window_.messages.size(), 1u);
  const std::string prefix = "Si \xC3\xA8 verificato un errore imprevisto n. 3343 descrizione dell'errore:\n\nFormato di database '";
  EXPECT_EQ(window_.messages[0].text.rfind(prefix, 0), 0u) << window_.messages[0].text;
  expect_no_transfer_file();
}

}  // namespace
}  // namespace tarvik::test::run
