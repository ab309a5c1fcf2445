#include <exception>

#include "checks/archive_checks.h"

namespace tarvik::checks {

namespace {

// An archive that Tarvik has not updated lacks the column NoteInBolla of CliFor; the probe reads
// no row, it only has to open.
constexpr const char* kSchemaProbe = "SELECT NoteInBolla FROM CliFor WHERE idCliFor = -1";

constexpr const char* kOutOfDateArchive =
    "Gli archivi di Tarvik non sono aggiornati. Prima di proseguire è necessario effettuare "
    "l'aggiornamento di Tarvik. Dopo sarà opportuno eseguire una manutenzione archivi.";

}  // namespace

bool CheckSchema(archive::Database& archive, ui::WindowPort& window) {
  try {
    archive.open_snapshot(kSchemaProbe)->close();
    return true;
  } catch (const std::exception&) {
    // Whatever failed, the answer is the same, and the error goes no further.
    ShowError(window, kOutOfDateArchive);
    return false;
  }
}

}  // namespace tarvik::checks
