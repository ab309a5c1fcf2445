#include "app/window/export_program.h"

#include <QCoreApplication>

#include "app/export_run.h"
#include "platform/utf8_path.h"

namespace tarvik::app::window {

ExportProgram::ExportProgram(const std::string& command_line) {
  form_.Form_Load(command_line);
  context_ = std::make_unique<RunContext>(form_, platform::PathFromUtf8(form_.transfer_path()));
  form_.set_run([this] { Run(); });
}

void ExportProgram::Run() {
  if (Command1_Click(*context_) == RunOutcome::Failed) {
    // The error has been reported and the transfer file deleted: the program ends here, with
    // nothing else closed or restored.
    form_.hide();
    QCoreApplication::exit(kExitFailed);
  }
}

}  // namespace tarvik::app::window
