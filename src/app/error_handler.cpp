#include "app/error_handler.h"

#include "transfer/output_file.h"

namespace tarvik::app {

std::string UnexpectedErrorMessage(int number, const std::string& description) {
  std::string signed_text = (number >= 0 ? " " : "") + std::to_string(number);
  return "Si è verificato un errore imprevisto n." + signed_text + " descrizione dell'errore:\n\n" +
         description;
}

void HandleRunError(RunContext& context, int number, const std::string& description) {
  context.window.message_box(UnexpectedErrorMessage(number, description), ui::kExportTitle,
                             ui::kStyleWarningOk);
  // A file another program holds open is not reported again.
  if (context.transfer_file) {
    context.transfer_file->close_and_delete();
    context.transfer_file.reset();
  } else if (context.mode == RunMode::Export) {
    transfer::DeleteTransferFile(context.transfer_path);
  }
  // An older report would describe a transfer file that is gone.
  // Only a file: a folder that happens to carry the report's name is the user's, not ours.
  if (!context.report_path.empty()) transfer::DeleteTransferFile(context.report_path);
  // The archive is released with the context; the caller ends the program.
}

}  // namespace tarvik::app
