// Start-up of the export window: the folder from the settings store, the warning when there is
// none, the transfer file path from the command line, and the idle state.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "app/window/export_program.h"
#include "window_harness.h"

namespace tarvik::app::window {
namespace {

void ExpectIdle(Form1& form) {
  EXPECT_FALSE(form.txtErrore->isVisibleTo(&form));
  EXPECT_TRUE(form.Command1->isEnabled());
  EXPECT_EQ(form.lblAvanzamento->text(), QString());
  EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
}

TEST(StartUp, StoredFolderGetsATrailingSeparator) {
  test::SettingsFolder settings;
  settings.set_installation_folder("/opt/Tarvik");
  test::MessageBoxWatcher boxes;
  ExportProgram program("");
  EXPECT_EQ(program.form().txtDirectory->text().toStdString(), "/opt/Tarvik/");
  EXPECT_TRUE(boxes.seen().empty());
  ExpectIdle(program.form());
}

TEST(StartUp, StoredFolderWithItsSeparatorIsShownUnchanged) {
  test::SettingsFolder settings;
  for (const char* folder : {"/opt/Tarvik/", "C:\\Tarvik\\"}) {
    settings.set_installation_folder(folder);
    ExportProgram program("");
    EXPECT_EQ(program.form().txtDirectory->text().toStdString(), folder);
  }
}

TEST(StartUp, WithoutAStoredFolderWarnsThenLeavesTheBoxEmpty) {
  test::SettingsFolder settings;  // no settings file at all
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (attempt == 1) settings.set_installation_folder("");  // present but empty
    test::MessageBoxWatcher boxes;
    ExportProgram program("");
    ASSERT_EQ(boxes.seen().size(), 1u);
    const test::SeenMessageBox& box = boxes.seen()[0];
    EXPECT_EQ(box.title, "Esportazione dati Tarvik");
    EXPECT_EQ(box.text,
              "Impossibile trovare la cartella in cui è installato Tarvik. Verificare che il programma sia "
              "stato installato. E' possibile digitare manualmente la cartella.");
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_EQ(box.buttons, std::vector<QMessageBox::StandardButton>{QMessageBox::Ok});
    EXPECT_EQ(box.button_texts, std::vector<std::string>{"OK"});
    // Shown before the window exists: in the middle of the screen, not at its top-left corner.
    const QPoint screen_centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((box.frame.center() - screen_centre).manhattanLength(), 2)
        << box.frame.x() << "," << box.frame.y() << " " << box.frame.width() << "x" << box.frame.height();
    EXPECT_EQ(program.form().txtDirectory->text(), QString());
    ExpectIdle(program.form());
  }
}

TEST(StartUp, TransferFilePathComesFromTheCommandLine) {
  test::SettingsFolder settings;
  settings.set_installation_folder("/opt/Tarvik");
  EXPECT_EQ(ExportProgram("").context().transfer_path, "ProvaExport.txt");
  EXPECT_EQ(ExportProgram("  ").context().transfer_path, "ProvaExport.txt");
  EXPECT_EQ(ExportProgram("\"/tmp/Dati export/Prova.txt\"").context().transfer_path, "/tmp/Dati export/Prova.txt");
  EXPECT_EQ(ExportProgram("\"/tmp/Prova.txt\" ").context().transfer_path, "\"/tmp/Prova.txt\" ");
  EXPECT_EQ(ExportProgram("\"").context().transfer_path, "\"");
}

}  // namespace
}  // namespace tarvik::app::window
