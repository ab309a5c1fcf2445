#include "app/window/export_program.h"

#include <QCoreApplication>

namespace tarvik::app::window {

ExportProgram::ExportProgram(const std::string& command_line) : run_(form_, command_line) {
  form_.set_run([this] {
    if (!run_.Run()) {
      form_.hide();
      QCoreApplication::exit(kExitFailed);
    }
  });
}

}  // namespace tarvik::app::window
