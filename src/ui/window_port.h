// The window as the run, the checks and the department question see it: exactly the operations
// they use on the one window, and nothing else. The Qt window, the Win32 window, the console command
// and the tests each implement it, so the run never knows which one it talks to.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::ui {

// Message box styles: an OK button with the exclamation icon; Yes and No with the exclamation
// icon and Yes preselected.
inline constexpr int kStyleWarningOk = 48;
inline constexpr int kStyleWarningYesNo = 52;

enum class Answer { Ok, Yes, No };

// Titles of the message boxes.
inline constexpr std::string_view kExportTitle = "Esportazione dati Tarvik";
inline constexpr std::string_view kQuestionTitle = "Importazione archivi Tarvik";

class WindowPort {
 public:
  virtual ~WindowPort() = default;

  // The folder box (`txtDirectory`).
  virtual std::string folder_text() = 0;
  virtual void set_folder_text(const std::string& text) = 0;
  // The error panel (`txtErrore`).
  virtual void set_error_text(const std::string& text) = 0;
  virtual void show_error_panel(bool shown) = 0;
  // The button (`Command1`).
  virtual void enable_button(bool enabled) = 0;
  // The progress label (`lblAvanzamento`).
  virtual void set_progress_caption(const std::string& caption) = 0;
  // The hourglass pointer, or the default one.
  virtual void set_busy_pointer(bool busy) = 0;
  // Lets the window handle its pending events once.
  virtual void process_events() = 0;
  // A modal message box; texts are UTF-8 and may hold line breaks.
  virtual Answer message_box(const std::string& text, std::string_view title, int style) = 0;
  // Unloads the window: the program ends.
  virtual void unload() = 0;
};

}  // namespace tarvik::ui
