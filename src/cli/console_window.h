// The window port on a console, for `tarvik-transfer export`: message boxes and the error panel
// go to standard error with their title, progress is a bar on a terminal and "Avanzamento: N/T"
// lines otherwise, and the department question is asked on a terminal (Yes preselected) unless
// the command line answered it, in which case one line says which answer was taken.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "ui/window_port.h"

namespace tarvik::cli {

class ConsoleWindow : public ui::WindowPort {
 public:
  // `answer` (--departments) answers the Yes/No question, the department question, without showing
  // it; without it the question is asked on `in`, which must then be a terminal.
  ConsoleWindow(std::string folder, std::optional<bool> answer, std::FILE* in, std::FILE* err);

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

  std::string folder_;
  std::optional<bool> answer_;
  std::FILE* in_;
  std::FILE* err_;
  bool terminal_;
  bool progress_on_line_ = false;
  std::string error_text_;
};

}  // namespace tarvik::cli
