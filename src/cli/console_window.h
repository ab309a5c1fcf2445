// The window port on a console, for `tarvik-transfer export`: message boxes and the error panel
// go to standard error with their title, progress is a bar on a terminal and "Avanzamento: N/T"
// lines otherwise (written a few at a time, at most a twentieth of a second late, the first at
// once: a line per hundred records cost a write each), and the department question is asked on a terminal (Yes preselected) unless
// the command line answered it.
#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "ui/window_port.h"

namespace tarvik::cli {

class ConsoleWindow : public ui::WindowPort {
 public:
  // `answer` answers every Yes/No question without asking; without it the question is asked on
  // `in`, which must then be a terminal.
  ConsoleWindow(std::string folder, std::optional<bool> answer, std::FILE* in, std::FILE* err);
  ~ConsoleWindow() override;
  ConsoleWindow(const ConsoleWindow&) = delete;
  ConsoleWindow& operator=(const ConsoleWindow&) = delete;

  std::string folder_text() override { return folder_; }
  void set_folder_text(const std::string& text) override { folder_ = text; }
  void set_error_text(const std::string& text) override { error_text_ = text; }
  void show_error_panel(bool shown) override;
  void enable_button(bool) override {}
  void set_progress_caption(const std::string& caption) override;
  void set_busy_pointer(bool) override {}
  void process_events() override {}
  ui::Answer message_box(const std::string& text, std::string_view title, int style) override;
  void unload() override;

 private:
  void end_progress_line();
  // Writes the progress lines held back; everything else written comes after them.
  void write_held_lines();

  std::string folder_;
  std::optional<bool> answer_;
  std::FILE* in_;
  std::FILE* err_;
  bool terminal_;
  bool progress_on_line_ = false;
  std::string held_lines_;
  std::optional<std::chrono::steady_clock::time_point> last_lines_written_;
  std::string error_text_;
};

}  // namespace tarvik::cli
