// The export program: the window, the run it starts (app/export_window.h), and what ends the
// program. A press of "Procedi" runs the export on the window's thread; a finished run has
// unloaded the window (the event loop ends with 0), a failed one has reported its error and ends
// the event loop at once with 1.
#pragma once

#include <string>

#include "app/export_window.h"
#include "app/window/form1.h"

namespace tarvik::app::window {

class ExportProgram {
 public:
  // Runs Form_Load with the command-line text; the window is not shown yet.
  explicit ExportProgram(const std::string& command_line);

  Form1& form() { return form_; }
  RunContext& context() { return run_.context(); }

 private:
  Form1 form_;
  ExportWindowRun run_;
};

}  // namespace tarvik::app::window
