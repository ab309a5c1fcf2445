// The one window of the export program, `Form1`: the explanation, the folder box, "Procedi", the
// progress label and the hidden error panel, laid out as designed in twips. It is the run's
// window (ui::WindowPort) and knows nothing of the run itself: a press of "Procedi" calls the run
// that the program hands it.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "ui/window_port.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tarvik::app::window {

class Form1 : public QWidget, public ui::WindowPort {
 public:
  explicit Form1(QWidget* parent = nullptr);

  // What a press of "Procedi" runs. A press or a close request that arrives while the run lets
  // the window handle its events does not start a second run and does not close the window: the
  // close is carried out when the run returns, if the run has not ended the program itself.
  void set_run(std::function<void()> run) { run_ = std::move(run); }

  // ui::WindowPort
  std::string folder_text() override;
  void set_folder_text(const std::string& text) override;
  void set_error_text(const std::string& text) override;
  void show_error_panel(bool shown) override;
  void enable_button(bool enabled) override;
  void set_progress_caption(const std::string& caption) override;
  void set_busy_pointer(bool busy) override;
  void process_events() override;
  ui::Answer message_box(const std::string& text, std::string_view title, int style) override;
  void unload() override;

  QLabel* const Label1;
  QLabel* const Label2;
  QLineEdit* const txtDirectory;
  QPushButton* const Command1;
  QLabel* const lblAvanzamento;
  QPlainTextEdit* const txtErrore;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Enter and keypad Enter press the focused "Procedi" (Space already does); no control has an
  // access key, so Alt with a key never types into the folder box.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LayOut(double dpi);
  // A press of "Procedi": runs the run unless one is in progress.
  void Command1Pressed();

  std::function<void()> run_;
  bool running_ = false;
  bool close_requested_ = false;
  bool unloading_ = false;
};

}  // namespace tarvik::app::window
