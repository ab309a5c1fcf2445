#include "archive/archive_error.h"

#include <string>

namespace tarvik::archive::errors {

namespace {
std::string quoted(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 2);
  out.append(1, '\'').append(s).append(1, '\'');
  return out;
}
}  // namespace

ArchiveError file_not_found(std::string_view path) {
  return ArchiveError(3024, "Impossibile trovare il file " + quoted(path) + ".");
}

ArchiveError cannot_open(std::string_view path) {
  return ArchiveError(3051, "Impossibile aprire il file " + quoted(path) +
                                ". È già aperto in modalità esclusiva da un altro utente oppure è "
                                "necessaria l'autorizzazione per visualizzarne i dati.");
}

ArchiveError in_use(std::string_view path) {
  return ArchiveError(3045, "Impossibile utilizzare " + quoted(path) + "; file già in uso.");
}

ArchiveError unrecognized_format(std::string_view path, std::string_view why) {
  return ArchiveError(3343, "Formato di database " + quoted(path) + " non riconosciuto (" +
                                std::string(why) + ").");
}

ArchiveError damaged(std::string_view where) {
  return ArchiveError(3049, "Il database è danneggiato e non può essere letto (" +
                                std::string(where) + ").");
}

ArchiveError table_not_found(std::string_view name) {
  return ArchiveError(3078, "Impossibile trovare la tabella o la query di input " + quoted(name) +
                                ".");
}

ArchiveError item_not_found(std::string_view) {
  return ArchiveError(3265, "Elemento non trovato nell'insieme.");
}

ArchiveError too_few_parameters(int expected) {
  return ArchiveError(3061, "Parametri insufficienti. Previsto " + std::to_string(expected) + ".");
}

}  // namespace tarvik::archive::errors
