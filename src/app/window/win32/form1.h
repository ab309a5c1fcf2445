// The one window of the export program on Windows, `Form1`, in plain Win32: the explanation, the
// folder box, "Procedi", the progress label and the hidden error panel, laid out from the design
// table in twips at the monitor's resolution. It is the run's window (ui::WindowPort) and knows
// nothing of the run itself: a press of "Procedi" calls the run that the program hands it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/window_port.h"

namespace tarvik::app::window::win32 {

class Form1 : public ui::WindowPort {
 public:
  // Creates the window and its controls, hidden.
  explicit Form1(HINSTANCE instance);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // What a press of "Procedi" runs. A press or a close request that arrives while the run lets the
  // window handle its events does not start a second run and does not close the window: the close
  // is carried out when the run returns, if the run has not ended the program itself.
  void set_run(std::function<void()> run) { run_ = std::move(run); }

  void Show(int show_command);
  // Ends the program with `exit_code` once the message loop sees it; the window disappears now.
  void EndProgram(int exit_code);
  // The keyboard handling of a dialog (Tab between the controls, Enter on the focused "Procedi"
  // presses it) for one message; true when the message has been handled.
  bool PreTranslate(MSG& msg);

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

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  void LayOut(UINT dpi);
  void Command1Pressed();

  HWND hwnd_ = nullptr;
  HWND Label1_ = nullptr;
  HWND Label2_ = nullptr;
  HWND txtDirectory_ = nullptr;
  HWND Command1_ = nullptr;
  HWND lblAvanzamento_ = nullptr;
  HWND txtErrore_ = nullptr;
  HFONT label1_font_ = nullptr;
  HFONT control_font_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the keyboard when the window was last left

  std::function<void()> run_;
  bool running_ = false;
  bool close_requested_ = false;
  bool ended_ = false;
  bool busy_ = false;
};

}  // namespace tarvik::app::window::win32
