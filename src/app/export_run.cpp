#include "app/export_run.h"

#include <new>

#include "app/ahead/run_ahead.h"
#include "app/error_handler.h"
#include "app/file_tests.h"
#include "app/record_total.h"
#include "app/run_error.h"
#include "app/run_report.h"
#include "checks/archive_checks.h"
#include "common/numbered_error.h"
#include "platform/memory_reuse.h"

namespace tarvik::app {

namespace {

constexpr const char* kArchiveFileName = "Tarvik.mdb";

// From opening the archive to the end: any error not handled where it arises ends up here.
RunOutcome export_archive(RunContext& context, const std::string& archive_path) {
  context.open_archive = archive::Database::open(archive_path);
  archive::Database& archive = *context.open_archive;
  RunAhead ahead(context, archive_path);  // what the second thread reads meanwhile, and when
  bool accepted = checks::CheckSchema(archive, context.window) && checks::CheckDuplicateSuppliers(archive, context.window);
  if (accepted) ahead.count_tables_meanwhile();
  accepted = accepted && checks::CheckMissingDestinations(archive, context.window);
  if (!accepted) {
    ahead.stop();
    context.open_archive->close();
    context.open_archive.reset();
    return RunOutcome::RefusedByCheck;
  }

  context.transfer_file = context.mode == RunMode::ReportOnly
                              ? transfer::TransferWriter::WithoutFile()
                              : std::make_unique<transfer::TransferWriter>(context.transfer_path);
  StartReport(context);
  ComputeTotal(context);
  context.done = 0;
  context.writer().WriteNumberLine(context.total);
  context.departments = checks::AskDepartmentUse(archive, context.window);
  context.writer().WriteTextLine(context.departments ? "T" : "F");
  ahead.write_stages();
  ahead.finish();  // the report's look-ups of the last blocks
  ahead.stop();

  context.open_archive->close();
  context.open_archive.reset();
  // Only a complete transfer file gets a report; a report that cannot be written fails the run,
  // and the handler then deletes the transfer file too.
  CloseTransferAndWriteReport(context, archive_path);
  context.window.set_busy_pointer(false);
  context.window.unload();
  return RunOutcome::Finished;
}

}  // namespace

RunOutcome Command1_Click(RunContext& context) {
  ui::WindowPort& window = context.window;
  const std::string folder = NormalizeFolder(window.folder_text());
  if (folder != window.folder_text()) window.set_folder_text(folder);
  if (!DirExists(folder)) {
    window.message_box("La cartella specificata non esiste", ui::kExportTitle, ui::kStyleWarningOk);
    return RunOutcome::RefusedFolder;
  }
  const std::string archive_path = folder + kArchiveFileName;
  if (!FileExists(archive_path)) {
    window.message_box("La cartella specificata non contiene un archivio di Tarvik", ui::kExportTitle,
                       ui::kStyleWarningOk);
    return RunOutcome::RefusedFolder;
  }
  window.set_busy_pointer(true);
  platform::KeepFreedMemoryForReuse();

  int number = 0;
  std::string description;
  try {
    return export_archive(context, archive_path);
  } catch (const NumberedError& e) {  // the engine's, the transfer file's and the run's own
    number = e.number(), description = e.description();
  } catch (const std::bad_alloc&) {
    number = out_of_memory().number(), description = out_of_memory().description();
  } catch (const std::exception& e) {
    // Nothing else should reach here; if it does, it is still reported and the file deleted.
    number = invalid_call().number(), description = invalid_call().description() + " (" + e.what() + ")";
  }
  HandleRunError(context, number, description);
  return RunOutcome::Failed;
}

}  // namespace tarvik::app
