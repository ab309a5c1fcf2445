// The export program: the window, the run context it owns, and what ends the program. A press of
// "Procedi" runs the export on the window's thread; a finished run has unloaded the window (the
// event loop ends with 0), a failed one has reported its error and ends the event loop at once
// with 1.
#pragma once

#include <memory>
#include <string>

#include "app/run_context.h"
#include "app/window/form1.h"

namespace tarvik::app::window {

inline constexpr int kExitFinished = 0;
inline constexpr int kExitFailed = 1;

class ExportProgram {
 public:
  // Runs Form_Load with the command-line text; the window is not shown yet.
  explicit ExportProgram(const std::string& command_line);

  Form1& form() { return form_; }
  RunContext& context() { return *context_; }

 private:
  void Run();

  Form1 form_;
  std::unique_ptr<RunContext> context_;
};

}  // namespace tarvik::app::window
