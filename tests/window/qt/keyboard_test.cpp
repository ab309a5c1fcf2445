// The window and its boxes at the keyboard: Enter presses the focused "Procedi", Alt never types
// into the folder box, and the department question is answered only by its buttons, which read
// "Sì" and "No".
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/window/export_program.h"
#include "window_harness.h"

namespace tarvik::app::window {
namespace {

constexpr int kQuestionStyle = 52;  // Yes and No, exclamation icon, Yes preselected

TEST(Keyboard, EnterAndKeypadEnterPressTheFocusedProcedi) {
  test::SettingsFolder settings;
  settings.set_installation_folder("/nonexistent/Tarvik");
  ExportProgram program("");
  Form1& form = program.form();
  form.show();
  form.Command1->setFocus();
  for (const Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::NoModifier),
                                                Qt::KeyboardModifiers(Qt::KeypadModifier)}) {
    test::MessageBoxWatcher boxes;
    const Qt::Key key = modifiers.testFlag(Qt::KeypadModifier) ? Qt::Key_Enter : Qt::Key_Return;
    QTest::keyClick(form.Command1, key, modifiers);
    ASSERT_EQ(boxes.seen().size(), 1u) << "Enter did not press the button";
    EXPECT_EQ(boxes.seen()[0].text, "La cartella specificata non esiste");
  }
  // A disabled button is not pressed by Enter either.
  form.Command1->setEnabled(false);
  test::MessageBoxWatcher boxes;
  QTest::keyClick(form.Command1, Qt::Key_Return);
  QTest::qWait(30);
  EXPECT_TRUE(boxes.seen().empty());
}

TEST(Keyboard, AltWithALetterDoesNotEditTheFolderBox) {
  test::SettingsFolder settings;
  settings.set_installation_folder("/opt/Tarvik");
  ExportProgram program("");
  QLineEdit* box = program.form().txtDirectory;
  program.form().show();
  box->setFocus();
  box->end(false);
  for (const Qt::Key key : {Qt::Key_P, Qt::Key_C, Qt::Key_Backspace})
    QTest::keyClick(box, key, Qt::AltModifier);
  EXPECT_EQ(box->text().toStdString(), "/opt/Tarvik/");
  // The same keys without Alt do edit it, so the events do reach the box.
  QTest::keyClick(box, Qt::Key_Backspace);
  QTest::keyClicks(box, "x");
  EXPECT_EQ(box->text().toStdString(), "/opt/Tarvikx");
}

TEST(QuestionBox, ItsButtonsReadSiAndNoAndOkStaysOk) {
  test::SettingsFolder settings;
  settings.set_installation_folder("/opt/Tarvik");
  ExportProgram program("");
  test::MessageBoxWatcher boxes;
  EXPECT_EQ(program.form().message_box("Domanda?", "Importazione archivi Tarvik", kQuestionStyle), ui::Answer::Yes);
  EXPECT_EQ(program.form().message_box("Avviso", "Esportazione dati Tarvik", 48), ui::Answer::Ok);
  ASSERT_EQ(boxes.seen().size(), 2u);
  EXPECT_EQ(boxes.seen()[0].button_texts, (std::vector<std::string>{"S\xC3\xAC", "No"}));
  EXPECT_EQ(boxes.seen()[0].default_button, QMessageBox::Yes);
  EXPECT_EQ(boxes.seen()[1].button_texts, std::vector<std::string>{"OK"});
}

// While it lives: on the next question box, tries Escape and the close button, records whether
// the box was still open and unanswered after each, then answers with `finally`.
class DismissAttempt {
 public:
  explicit DismissAttempt(QMessageBox::StandardButton finally) {
    poll_.setInterval(5);
    QObject::connect(&poll_, &QTimer::timeout, [this, finally] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      poll_.stop();
      QTest::keyClick(box, Qt::Key_Escape);
      open_after_escape = box->isVisible() && box->clickedButton() == nullptr;
      box->close();
      open_after_close = box->isVisible() && box->clickedButton() == nullptr;
      box->button(finally)->click();
    });
    poll_.start();
  }
  bool open_after_escape = false;
  bool open_after_close = false;

 private:
  QTimer poll_;
};

TEST(QuestionBox, EscapeAndTheCloseButtonDoNotAnswerIt) {
  test::SettingsFolder settings;
  settings.set_installation_folder("/opt/Tarvik");
  ExportProgram program("");
  for (const auto& [button, answer] : {std::pair{QMessageBox::Yes, ui::Answer::Yes},
                                       std::pair{QMessageBox::No, ui::Answer::No}}) {
    DismissAttempt attempt(button);
    EXPECT_EQ(program.form().message_box("Domanda?", "Importazione archivi Tarvik", kQuestionStyle), answer);
    EXPECT_TRUE(attempt.open_after_escape);
    EXPECT_TRUE(attempt.open_after_close);
  }
}

}  // namespace
}  // namespace tarvik::app::window
