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

ArchiveError no_current_record() { return ArchiveError(3021, "Nessun record corrente."); }

ArchiveError object_closed() {
  return ArchiveError(3420, "Oggetto non valido o non più impostato.");
}

ArchiveError operation_not_supported(std::string_view what) {
  return ArchiveError(3251, "Operazione non supportata per questo tipo di oggetto (" +
                                std::string(what) + ").");
}

ArchiveError index_not_found(std::string_view name) {
  return ArchiveError(3015, quoted(name) + " non è un indice di questa tabella.");
}

ArchiveError no_current_index() {
  return ArchiveError(3019, "Operazione non valida senza un indice corrente.");
}

ArchiveError invalid_sql_statement() {
  return ArchiveError(3129, "Istruzione SQL non valida. Prevista 'DELETE', 'INSERT', 'PROCEDURE', "
                            "'SELECT' o 'UPDATE'.");
}

ArchiveError select_syntax(std::string_view near) {
  return ArchiveError(3141, "L'istruzione SELECT include una parola riservata o un nome di "
                            "argomento errato o mancante oppure la punteggiatura non è corretta "
                            "(vicino a " + quoted(near) + ").");
}

ArchiveError from_syntax(std::string_view near) {
  return ArchiveError(3131, "Errore di sintassi nella clausola FROM (vicino a " + quoted(near) +
                                ").");
}

ArchiveError expression_syntax(std::string_view expression) {
  return ArchiveError(3075, "Errore di sintassi (operatore mancante) nell'espressione della query " +
                                quoted(expression) + ".");
}

ArchiveError order_by_conflicts_with_distinct(std::string_view expression) {
  return ArchiveError(3093, "La clausola ORDER BY " + quoted(expression) +
                                " è in conflitto con DISTINCT.");
}

ArchiveError unsupported_sql(std::string_view what) {
  return ArchiveError(3251, "Operazione non supportata per questo tipo di oggetto: " +
                                std::string(what) + " non è gestito da questo motore.");
}

ArchiveError ambiguous_field(std::string_view name) {
  return ArchiveError(3079, "Il campo specificato " + quoted(name) +
                                " può fare riferimento a più tabelle elencate nella clausola FROM "
                                "dell'istruzione SQL.");
}

ArchiveError repeated_table_name(std::string_view name) {
  return ArchiveError(3135, "Impossibile ripetere il nome di tabella " + quoted(name) +
                                " nella clausola FROM.");
}

ArchiveError join_expression_not_supported() {
  return ArchiveError(3296, "Espressione di join non supportata.");
}

ArchiveError not_part_of_aggregate(std::string_view expression) {
  return ArchiveError(3122, "La query non include l'espressione specificata " + quoted(expression) +
                                " come parte di una funzione di aggregazione.");
}

ArchiveError aggregate_not_allowed(std::string_view clause) {
  return ArchiveError(3096, "Impossibile utilizzare una funzione di aggregazione nella clausola " +
                                std::string(clause) + ".");
}

ArchiveError criteria_type_mismatch() {
  return ArchiveError(3464, "Tipo di dati non corrispondenti nell'espressione criterio.");
}

ArchiveError join_type_mismatch() {
  return ArchiveError(3615, "Tipo di dati non corrispondenti nell'espressione JOIN.");
}

}  // namespace tarvik::archive::errors
