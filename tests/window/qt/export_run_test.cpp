// "Procedi" on the real window: the folder refusals, a refusal by an archive check, a failed run,
// and whole runs on the sample archive that end the program with the transfer file complete.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "app/export_run.h"
#include "app/window/export_program.h"
#include "support/recording_window.h"
#include "window_harness.h"

namespace tarvik::app::window {
namespace {

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The sample archives are written once for all the tests of this file.
class ExportRunTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sample_ = new test::TempDir;
    std::filesystem::create_directories(sample_->path() / "clean");
    std::filesystem::create_directories(sample_->path() / "duplicates");
    test::WriteSampleArchive(sample_->path() / "clean");
    test::WriteSampleArchive(sample_->path() / "duplicates", "duplicate-suppliers");
  }
  static void TearDownTestSuite() {
    delete sample_;
    sample_ = nullptr;
  }
  static std::string SampleFolder(const char* name) { return (sample_->path() / name).string() + "/"; }

  // The transfer file that the run writes on the sample archive through the port, with the
  // department question answered `answer`: what the window's run must write too.
  static std::string ReferenceTransferFile(ui::Answer answer) {
    test::TempDir out;
    test::RecordingWindow window;
    window.folder = SampleFolder("clean");
    window.answers.push_back(answer);
    RunContext context(window, out / "reference.txt");
    EXPECT_EQ(Command1_Click(context), RunOutcome::Finished);
    return ReadBytes(out / "reference.txt");
  }

  // Presses "Procedi" once the event loop runs, and returns the program's exit status.
  static int PressProcediAndRun(Form1& form) {
    QTimer::singleShot(0, form.Command1, [&form] { form.Command1->click(); });
    return QApplication::exec();
  }

  test::SettingsFolder settings_;
  test::TempDir out_;
  static test::TempDir* sample_;
};

test::TempDir* ExportRunTest::sample_ = nullptr;

TEST_F(ExportRunTest, MissingFolderIsRefusedAndTheBoxShowsTheSeparator) {
  settings_.set_installation_folder((out_ / "non-esiste").string());
  ExportProgram program((out_ / "out.txt").string());
  Form1& form = program.form();
  form.txtDirectory->setText(QString::fromStdString((out_ / "non-esiste").string()));
  test::MessageBoxWatcher boxes;
  form.Command1->click();
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].text, "La cartella specificata non esiste");
  EXPECT_EQ(boxes.seen()[0].title, "Esportazione dati Tarvik");
  EXPECT_EQ(boxes.seen()[0].icon, QMessageBox::Warning);
  EXPECT_EQ(boxes.seen()[0].buttons, std::vector<QMessageBox::StandardButton>{QMessageBox::Ok});
  EXPECT_EQ(form.txtDirectory->text().toStdString(), (out_ / "non-esiste").string() + "/");
  EXPECT_TRUE(form.Command1->isEnabled());
  EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(std::filesystem::exists(out_ / "out.txt"));
}

TEST_F(ExportRunTest, FolderWithoutAnArchiveIsRefused) {
  settings_.set_installation_folder(out_.path().string());
  ExportProgram program((out_ / "out.txt").string());
  Form1& form = program.form();
  test::MessageBoxWatcher boxes;
  form.Command1->click();
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].text, "La cartella specificata non contiene un archivio di Tarvik");
  EXPECT_EQ(boxes.seen()[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(form.Command1->isEnabled());
  EXPECT_FALSE(form.txtErrore->isVisibleTo(&form));
  EXPECT_FALSE(std::filesystem::exists(out_ / "out.txt"));

  // The user may correct the folder and press again.
  form.txtDirectory->setText(QString::fromStdString((out_ / "non-esiste").string()));
  form.Command1->click();
  ASSERT_EQ(boxes.seen().size(), 2u);
  EXPECT_EQ(boxes.seen()[1].text, "La cartella specificata non esiste");
}

TEST_F(ExportRunTest, CheckRefusalShowsThePanelAndDisablesTheButton) {
  settings_.set_installation_folder(SampleFolder("duplicates"));
  ExportProgram program((out_ / "out.txt").string());
  Form1& form = program.form();
  form.show();
  test::MessageBoxWatcher boxes;
  form.Command1->click();
  EXPECT_TRUE(boxes.seen().empty());
  ASSERT_TRUE(form.txtErrore->isVisible());
  const std::string panel = form.txtErrore->toPlainText().toStdString();
  const std::string heading =
      "Per alcuni articoli di magazzino è stato registrato più volte lo stesso fornitore.\n"
      "Prima di effettuare l'importazione è necessario utilizzare Tarvik per modificare gli articoli di "
      "magazzino in modo che per ciascun articolo ogni fornitore compaia una sola volta e non di più.\n"
      "Ecco l'elenco dei codici da modificare: \n\n";
  EXPECT_EQ(panel.substr(0, heading.size()), heading);
  // One item has each of its two suppliers twice, another one supplier three times: three lines.
  EXPECT_EQ(std::count(panel.begin() + static_cast<long>(heading.size()), panel.end(), '\n'), 3);
  EXPECT_FALSE(form.Command1->isEnabled());
  EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(std::filesystem::exists(out_ / "out.txt"));
  form.close();
}

TEST_F(ExportRunTest, FailedRunReportsTheErrorAndEndsTheProgram) {
  settings_.set_installation_folder(SampleFolder("clean"));
  // The transfer file cannot be created in a folder that does not exist.
  ExportProgram program((out_ / "manca" / "out.txt").string());
  Form1& form = program.form();
  form.show();
  test::MessageBoxWatcher boxes;
  EXPECT_EQ(PressProcediAndRun(form), kExitFailed);
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].text.rfind("Si è verificato un errore imprevisto n. ", 0), 0u) << boxes.seen()[0].text;
  EXPECT_NE(boxes.seen()[0].text.find(" descrizione dell'errore:\n\n"), std::string::npos);
  EXPECT_EQ(boxes.seen()[0].title, "Esportazione dati Tarvik");
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(std::filesystem::exists(out_ / "manca"));
}

TEST_F(ExportRunTest, FullRunAsksTheDepartmentQuestionWithYesPreselected) {
  settings_.set_installation_folder(SampleFolder("clean"));
  const std::filesystem::path transfer = out_ / "Prova Export.txt";
  ExportProgram program("\"" + transfer.string() + "\"");
  Form1& form = program.form();
  form.show();
  test::MessageBoxWatcher boxes;  // answers with Return: the default button
  EXPECT_EQ(PressProcediAndRun(form), kExitFinished);

  ASSERT_EQ(boxes.seen().size(), 1u);
  const test::SeenMessageBox& question = boxes.seen()[0];
  EXPECT_EQ(question.title, "Importazione archivi Tarvik");
  EXPECT_EQ(question.text,
            "Per ogni articolo di magazzino Tarvik poteva utilizzare la collocazione per memorizzare il reparto da "
            "utilizzare quando si stampa lo scontrino.\nSembra che questi archivi contengano i valori del reparto "
            "nella collocazione degli articoli di magazzino.\n\nVuoi utilizzare i dati contenuti nella collocazione "
            "per impostare il reparto negli archivi importati in Quendal?");
  EXPECT_EQ(question.icon, QMessageBox::Warning);
  EXPECT_EQ(question.buttons, (std::vector<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
  EXPECT_EQ(question.default_button, QMessageBox::Yes);

  // The program ended: the window is gone and the transfer file is the one the run writes.
  EXPECT_FALSE(form.isVisible());
  const std::string written = ReadBytes(transfer);
  EXPECT_EQ(written, ReferenceTransferFile(ui::Answer::Yes));
  EXPECT_NE(written.find("\r\nT\r\n"), std::string::npos);
}

TEST_F(ExportRunTest, NoAnswerGivesF) {
  settings_.set_installation_folder(SampleFolder("clean"));
  ExportProgram program((out_ / "out.txt").string());
  program.form().show();
  test::MessageBoxWatcher boxes;
  boxes.answer_next_with(QMessageBox::No);
  EXPECT_EQ(PressProcediAndRun(program.form()), kExitFinished);
  EXPECT_EQ(ReadBytes(out_ / "out.txt"), ReferenceTransferFile(ui::Answer::No));
}

TEST_F(ExportRunTest, MidRunPressAndCloseDoNothingUntilTheRunEnds) {
  settings_.set_installation_folder(SampleFolder("clean"));
  ExportProgram program((out_ / "out.txt").string());
  Form1& form = program.form();
  form.show();
  test::MessageBoxWatcher boxes;

  // At the first event handling inside the run (the first progress caption), the user presses
  // "Procedi" again on a folder that does not exist, and asks to close the window.
  struct MidRun {
    bool seen = false;
    QString caption;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    bool visible_after_close = false;
  } mid;
  QTimer probe;
  probe.setInterval(0);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (mid.seen || !form.lblAvanzamento->text().startsWith(QStringLiteral("Avanzamento: "))) return;
    mid.seen = true;
    mid.caption = form.lblAvanzamento->text();
    mid.cursor = form.cursor().shape();
    form.txtDirectory->setText(QString::fromStdString((out_ / "non-esiste").string()));
    form.Command1->click();
    form.close();
    mid.visible_after_close = form.isVisible();
  });
  probe.start();
  EXPECT_EQ(PressProcediAndRun(form), kExitFinished);

  ASSERT_TRUE(mid.seen);
  EXPECT_TRUE(mid.caption.startsWith(QStringLiteral("Avanzamento: 100/"))) << mid.caption.toStdString();
  EXPECT_EQ(mid.cursor, Qt::WaitCursor);
  EXPECT_TRUE(mid.visible_after_close);
  // Only the department question was shown: the second press started no run.
  EXPECT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(ReadBytes(out_ / "out.txt"), ReferenceTransferFile(ui::Answer::Yes));
  EXPECT_FALSE(form.isVisible());
}

}  // namespace
}  // namespace tarvik::app::window
