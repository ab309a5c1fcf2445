#include "checks/archive_checks.h"
#include "checks/standard_text.h"

namespace tarvik::checks {

namespace {

// One row per pair of item code and supplier that occurs more than once.
constexpr const char* kDuplicatedPairs =
    "select CodiceArticolo, idCliFor, count(CodiceArticolo) from LinkMagazzinoFornitori "
    "group by CodiceArticolo, idCliFor having count(CodiceArticolo) > 1";

constexpr const char* kProblem =
    "Per alcuni articoli di magazzino è stato registrato più volte lo stesso fornitore.";
constexpr const char* kInstruction =
    "Prima di effettuare l'importazione è necessario utilizzare Tarvik per modificare gli articoli "
    "di magazzino in modo che per ciascun articolo ogni fornitore compaia una sola volta e non di più.";
constexpr const char* kListHeading = "Ecco l'elenco dei codici da modificare: ";

}  // namespace

bool CheckDuplicateSuppliers(archive::Database& archive, ui::WindowPort& window) {
  bool go = true;
  std::string list;
  auto pairs = archive.open_snapshot(kDuplicatedPairs);
  while (!pairs->eof()) {
    // The item is listed once per duplicated supplier; the supplier is not named.
    list += Utf8(StandardText(pairs->field("CodiceArticolo"))) + "\r\n";
    go = false;
    pairs->move_next();
  }
  pairs->close();
  if (go) return true;
  ShowError(window, std::string(kProblem) + "\r\n" + kInstruction + "\r\n" + kListHeading + "\r\n\r\n" + list);
  return false;
}

}  // namespace tarvik::checks
