#include "archive/archive_error.h"
#include "checks/archive_checks.h"

namespace tarvik::checks {

namespace {

// An archive that Tarvik has not updated lacks the column NoteInBolla of CliFor; the probe reads
// no row, its statement is only checked as opening it would.
constexpr const char* kSchemaProbe = "SELECT NoteInBolla FROM CliFor WHERE idCliFor = -1";

constexpr const char* kOutOfDateArchive =
    "Gli archivi di Tarvik non sono aggiornati. Prima di proseguire è necessario effettuare "
    "l'aggiornamento di Tarvik. Dopo sarà opportuno eseguire una manutenzione archivi.";

// The engine's errors that say the probe's column or table is not there: an archive that Tarvik
// has not updated. A missing column reads as a parameter the query was not given (3061).
bool means_missing(int error_number) {
  return error_number == 3061 || error_number == 3078 || error_number == 3265;
}

}  // namespace

bool CheckSchema(archive::Database& archive, ui::WindowPort& window) {
  try {
    archive.check_statement(kSchemaProbe);
    return true;
  } catch (const archive::ArchiveError& e) {
    // A damaged or unreadable archive is no outdated one: updating Tarvik cannot help, so its
    // own error goes on to the run's error handler.
    if (!means_missing(e.number())) throw;
    ShowError(window, kOutOfDateArchive);
    return false;
  }
}

}  // namespace tarvik::checks
