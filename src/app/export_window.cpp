#include "app/export_window.h"

#include "app/command_line.h"
#include "app/export_run.h"
#include "app/file_tests.h"
#include "app/settings.h"
#include "app/startup_texts.h"
#include "platform/utf8_path.h"

namespace tarvik::app {

std::string Form_Load(ui::WindowPort& window, const std::string& command_line) {
  const std::string folder = ReadInstallationFolder();
  if (!folder.empty()) {
    window.set_folder_text(NormalizeFolder(folder));
  } else {
    window.message_box(kMissingFolderMessage, ui::kExportTitle, ui::kStyleWarningOk);
    window.set_folder_text("");
  }
  std::string transfer_path = TransferPathFromCommandLine(command_line);
  window.show_error_panel(false);
  window.set_progress_caption("");
  return transfer_path;
}

ExportWindowRun::ExportWindowRun(ui::WindowPort& window, const std::string& command_line)
    : context_(std::make_unique<RunContext>(window, platform::PathFromUtf8(Form_Load(window, command_line)))) {}

bool ExportWindowRun::Run() { return Command1_Click(*context_) != RunOutcome::Failed; }

}  // namespace tarvik::app
