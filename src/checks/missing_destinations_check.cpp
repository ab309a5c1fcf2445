#include "checks/archive_checks.h"
#include "checks/check_queries.h"
#include "checks/standard_text.h"

namespace tarvik::checks {

// Accompanying invoices whose destination is no register record, or that have none.
const char* const kWithoutDestinationQuery =
    "select TestataFattAcc.* from TestataFattAcc left join CliFor on TestataFattAcc.idDestinazione "
    "= CliFor.idCliFor where CliFor.idCliFor is null";

namespace {

constexpr const char* kProblem = "Per alcune fatture accompagnatorie manca la destinazione.";
constexpr const char* kInstruction =
    "Prima di effettuare l'importazione è necessario utilizzare Tarvik per aggiungere la "
    "destinazione o eliminare la fattura accompagnatoria.";
constexpr const char* kListHeading = "Ecco l'elenco delle fatture accompagnatorie da modificare: ";

}  // namespace

bool CheckMissingDestinations(archive::Database& archive, ui::WindowPort& window) {
  bool go = true;
  std::string list;
  auto invoices = archive.open_snapshot(kWithoutDestinationQuery);
  while (!invoices->eof()) {
    // A null number or date is listed as empty text rather than ending the run.
    list += "Fatt. acc. n. " + Utf8(StandardText(invoices->field("Numero"))) + " del " +
            Utf8(StandardText(invoices->field("Data"))) + "\r\n";
    go = false;
    invoices->move_next();
  }
  invoices->close();
  if (go) return true;
  ShowError(window, std::string(kProblem) + "\r\n" + kInstruction + "\r\n" + kListHeading + "\r\n\r\n" + list);
  return false;
}

}  // namespace tarvik::checks
