// What the export program does around its window, the same for the Qt window and the Win32 one:
// the start-up (Form_Load), the run context, and a press of "Procedi". Each window keeps only its
// toolkit's code and reaches this through ui::WindowPort.
#pragma once

#include <memory>
#include <string>

#include "app/run_context.h"
#include "ui/window_port.h"

namespace tarvik::app {

// How the export program ends: a finished run has unloaded the window; a failed one has reported
// its error.
inline constexpr int kExitFinished = 0;
inline constexpr int kExitFailed = 1;

// Start-up, before the window is first shown: the folder box from the settings store (a warning
// and an empty box when there is none), the error panel hidden and the progress label emptied.
// Returns the transfer file's path, taken from the command-line text.
std::string Form_Load(ui::WindowPort& window, const std::string& command_line);

class ExportWindowRun {
 public:
  // Runs Form_Load on `window`, which is not shown yet, and keeps the run's context for it.
  ExportWindowRun(ui::WindowPort& window, const std::string& command_line);

  RunContext& context() { return *context_; }

  // A press of "Procedi": the run, which reports its own errors and never throws. False when it
  // failed: the error has been reported and the transfer file deleted, and the program ends with
  // kExitFailed, nothing else closed or restored.
  bool Run();

 private:
  std::unique_ptr<RunContext> context_;
};

}  // namespace tarvik::app
