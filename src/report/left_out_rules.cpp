#include "report/left_out_rules.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "report/value_text.h"
#include "transfer/ensure_count.h"

namespace tarvik::report {

namespace {

using archive::Recordset;
using archive::Value;

// One join of a block: its rows' column that must find a row of `target`.
struct JoinReference {
  std::string own_column;
  std::string target_table;
  std::string target_column;
};

struct LeftOutRule {
  std::string own_table;
  std::string own_filter;      // which of the table's rows the block is about ("" for all)
  std::string left_out_query;  // the rows left out, one each
  std::function<ListedRow(Recordset&)> describe;
  std::vector<JoinReference> joins;  // first-level joins, for finding rows written twice
  std::string own_key;              // the column that names a row in the list of duplicates
};

std::string text(Recordset& rows, std::string_view column) { return ValueText(rows.field(column)); }

std::string quoted(const Value& value) { return value.is_null() ? "(vuoto)" : "'" + ValueText(value) + "'"; }

// "cliente 1234 inesistente", or "idCliFor vuoto" for a null reference.
std::string missing_register(const Value& reference, std::string_view who) {
  if (reference.is_null()) return "idCliFor vuoto";
  return std::string(who) + " " + ValueText(reference) + " inesistente";
}

std::string who_of(std::string_view header_table) {
  return header_table == "TestataOrdForn" ? "fornitore" : "cliente";
}

LeftOutRule header_rule(const std::string& header) {
  LeftOutRule rule;
  rule.own_table = header;
  rule.left_out_query = "SELECT " + header + ".idDocumento, " + header + ".Numero, " + header +
                        ".Anno, " + header + ".idCliFor FROM " + header + " LEFT JOIN CliFor ON " +
                        header + ".idCliFor = CliFor.idCliFor WHERE CliFor.idCliFor IS NULL";
  const std::string who = who_of(header);
  rule.describe = [who](Recordset& rows) {
    std::string key = "idDocumento " + text(rows, "idDocumento");
    if (!rows.field("Numero").is_null()) key += ", numero " + text(rows, "Numero");
    if (!rows.field("Anno").is_null()) key += "/" + text(rows, "Anno");
    return ListedRow{key, missing_register(rows.field("idCliFor"), who)};
  };
  rule.joins = {{"idCliFor", "CliFor", "idCliFor"}};
  rule.own_key = "idDocumento";
  return rule;
}

// Rows of a document (or of a journal entry): the header must exist and be written itself.
LeftOutRule rows_rule(const std::string& rows_table, const std::string& row_key, const std::string& header,
                      const std::string& header_key, const std::string& who) {
  LeftOutRule rule;
  rule.own_table = rows_table;
  rule.left_out_query = "SELECT " + rows_table + "." + row_key + ", " + rows_table + "." + header_key + ", " +
                        header + "." + header_key + " AS TestataTrovata, " + header +
                        ".idCliFor AS CliForTestata, CliFor.idCliFor AS CliForTrovato FROM (" + rows_table +
                        " LEFT JOIN " + header + " ON " + rows_table + "." + header_key + " = " + header + "." +
                        header_key + ") LEFT JOIN CliFor ON " + header + ".idCliFor = CliFor.idCliFor WHERE " +
                        header + "." + header_key + " IS NULL OR CliFor.idCliFor IS NULL";
  rule.describe = [row_key, header_key, who](Recordset& rows) {
    const Value& reference = rows.field(header_key);
    ListedRow row{row_key + " " + text(rows, row_key) + ", " + header_key + " " + ValueText(reference), {}};
    if (reference.is_null()) {
      row.reason = header_key + " vuoto";
    } else if (rows.field("TestataTrovata").is_null()) {
      row.reason = "testata " + ValueText(reference) + " inesistente";
    } else {
      row.reason = "testata " + ValueText(reference) + " esclusa (" + missing_register(rows.field("CliForTestata"), who) + ")";
    }
    return row;
  };
  rule.joins = {{header_key, header, header_key}};
  rule.own_key = row_key;
  return rule;
}

std::map<std::string, LeftOutRule, std::less<>> make_rules() {
  std::map<std::string, LeftOutRule, std::less<>> rules;

  LeftOutRule agents;
  agents.own_table = "Agenti";
  agents.left_out_query =
      "SELECT Agenti.idCliFor FROM Agenti LEFT JOIN CliFor ON Agenti.idCliFor = CliFor.idCliFor "
      "WHERE CliFor.idCliFor IS NULL";
  agents.describe = [](Recordset& rows) {
    const Value& id = rows.field("idCliFor");
    return ListedRow{"idCliFor " + ValueText(id), id.is_null() ? "idCliFor vuoto" : "anagrafica " + ValueText(id) + " inesistente"};
  };
  agents.joins = {{"idCliFor", "CliFor", "idCliFor"}};
  agents.own_key = "idCliFor";
  rules["Agenti"] = agents;

  // The pairs come from the register records that name an agent; one whose agent has no rules,
  // or whose rules belong to no register record, goes nowhere.
  LeftOutRule links;
  links.own_table = "CliFor";
  links.own_filter = "idAgente IS NOT NULL";
  links.left_out_query =
      "SELECT CliFor.idCliFor, CliFor.idAgente, Agenti.idCliFor AS AgenteTrovato FROM (CliFor LEFT JOIN Agenti "
      "ON CliFor.idAgente = Agenti.idCliFor) LEFT JOIN CliFor AS CliFor_1 ON Agenti.idCliFor = CliFor_1.idCliFor "
      "WHERE CliFor.idAgente IS NOT NULL AND CliFor_1.idCliFor IS NULL";
  links.describe = [](Recordset& rows) {
    const std::string agent = text(rows, "idAgente");
    return ListedRow{"idCliFor " + text(rows, "idCliFor"),
                     rows.field("AgenteTrovato").is_null() ? "agente " + agent + " inesistente"
                                                           : "agente " + agent + " senza anagrafica"};
  };
  links.joins = {{"idAgente", "Agenti", "idCliFor"}};
  links.own_key = "idCliFor";
  rules["LinkAgentiCliFor"] = links;

  LeftOutRule movements;
  movements.own_table = "GiornaleMagazzino";
  movements.left_out_query =
      "SELECT GiornaleMagazzino.idGiornaleMagazzino, GiornaleMagazzino.Codice FROM GiornaleMagazzino "
      "LEFT JOIN Magazzino ON GiornaleMagazzino.Codice = Magazzino.Codice WHERE Magazzino.Codice IS NULL";
  movements.describe = [](Recordset& rows) {
    const Value& code = rows.field("Codice");
    return ListedRow{"idGiornaleMagazzino " + text(rows, "idGiornaleMagazzino") + ", Codice " + quoted(code),
                     code.is_null() ? "Codice vuoto" : "articolo " + quoted(code) + " inesistente"};
  };
  movements.joins = {{"Codice", "Magazzino", "Codice"}};
  movements.own_key = "idGiornaleMagazzino";
  rules["GiornaleMagazzino"] = movements;

  LeftOutRule supplier_links;
  supplier_links.own_table = "LinkMagazzinoFornitori";
  supplier_links.left_out_query =
      "SELECT LinkMagazzinoFornitori.idMagazzinoFornitori, LinkMagazzinoFornitori.CodiceArticolo, "
      "LinkMagazzinoFornitori.idCliFor, Magazzino.Codice AS ArticoloTrovato, CliFor.idCliFor AS FornitoreTrovato "
      "FROM (LinkMagazzinoFornitori LEFT JOIN Magazzino ON LinkMagazzinoFornitori.CodiceArticolo = "
      "Magazzino.Codice) LEFT JOIN CliFor ON LinkMagazzinoFornitori.idCliFor = CliFor.idCliFor "
      "WHERE Magazzino.Codice IS NULL OR CliFor.idCliFor IS NULL";
  supplier_links.describe = [](Recordset& rows) {
    std::string reason;
    const Value& code = rows.field("CodiceArticolo");
    if (rows.field("ArticoloTrovato").is_null())
      reason = code.is_null() ? "CodiceArticolo vuoto" : "articolo " + quoted(code) + " inesistente";
    if (rows.field("FornitoreTrovato").is_null())
      reason += (reason.empty() ? "" : "; ") + missing_register(rows.field("idCliFor"), "fornitore");
    return ListedRow{"idMagazzinoFornitori " + text(rows, "idMagazzinoFornitori"), reason};
  };
  supplier_links.joins = {{"CodiceArticolo", "Magazzino", "Codice"}, {"idCliFor", "CliFor", "idCliFor"}};
  supplier_links.own_key = "idMagazzinoFornitori";
  rules["LinkMagazzinoFornitori"] = supplier_links;

  for (const char* kind : {"FattAcc", "Fatture", "Bolle", "OrdCli", "Preventivi", "DocGen1", "OrdForn"}) {
    const std::string header = std::string("Testata") + kind;
    rules[header] = header_rule(header);
    const std::string rows = std::string("Righe") + kind;
    rules[rows] = rows_rule(rows, "idRigaDocumento", header, "idDocumento", who_of(header));
  }

  LeftOutRule journal = header_rule("PrimanotaDocumenti");
  journal.left_out_query =
      "SELECT PrimanotaDocumenti.idPrimanota, PrimanotaDocumenti.idCliFor FROM PrimanotaDocumenti LEFT JOIN "
      "CliFor ON PrimanotaDocumenti.idCliFor = CliFor.idCliFor WHERE CliFor.idCliFor IS NULL";
  journal.describe = [](Recordset& rows) {
    return ListedRow{"idPrimanota " + text(rows, "idPrimanota"),
                     missing_register(rows.field("idCliFor"), "cliente/fornitore")};
  };
  journal.own_key = "idPrimanota";
  rules["PrimanotaDocumenti"] = journal;
  rules["PrimanotaMovimenti"] =
      rows_rule("PrimanotaMovimenti", "idMovimento", "PrimanotaDocumenti", "idPrimanota", "cliente/fornitore");
  return rules;
}

const std::map<std::string, LeftOutRule, std::less<>>& rules() {
  static const auto all = make_rules();
  return all;
}

std::int64_t own_rows(archive::Database& archive, const LeftOutRule& rule) {
  if (rule.own_filter.empty()) {
    auto table = archive.open_table(rule.own_table);
    transfer::EnsureCount(*table);
    const std::int64_t count = table->record_count();
    table->close();
    return count;
  }
  auto counted = archive.open_snapshot("SELECT COUNT(*) AS N FROM " + rule.own_table + " WHERE " + rule.own_filter);
  const std::int64_t count = counted->field("N").as_long();
  counted->close();
  return count;
}

// The rows of the block's table whose reference meets a key that its target holds more than
// once: the join writes such a row once per match. Asked only when the counts show there are some.
void list_duplicates(archive::Database& archive, const LeftOutRule& rule, BlockReport& report) {
  for (const JoinReference& join : rule.joins) {
    std::map<std::string, std::int32_t> repeated;  // the key's text, how often the target holds it
    auto groups = archive.open_snapshot("SELECT " + join.target_column + ", COUNT(*) AS Volte FROM " +
                                        join.target_table + " GROUP BY " + join.target_column +
                                        " HAVING COUNT(*) > 1");
    for (; !groups->eof(); groups->move_next())
      if (!groups->field(join.target_column).is_null())
        repeated[ValueText(groups->field(join.target_column))] = groups->field("Volte").as_long();
    groups->close();
    if (repeated.empty()) continue;
    auto rows = archive.open_snapshot("SELECT " + rule.own_key + ", " + join.own_column + " FROM " +
                                      rule.own_table + (rule.own_filter.empty() ? "" : " WHERE " + rule.own_filter));
    for (; !rows->eof(); rows->move_next()) {
      const Value& reference = rows->field(join.own_column);
      if (reference.is_null()) continue;
      // Text keys match without regard to case in Jet; the list is only a guide, the count is exact.
      auto found = repeated.find(ValueText(reference));
      if (found == repeated.end()) continue;
      report.duplicates.add({rule.own_key + " " + ValueText(rows->field(rule.own_key)),
                             join.own_column + " " + ValueText(reference) + " presente " +
                                 std::to_string(found->second) + " volte in " + join.target_table +
                                 ": scritta " + std::to_string(found->second) + " volte"});
    }
    rows->close();
  }
}

}  // namespace

bool HasLeftOutRule(std::string_view block) { return rules().count(block) > 0; }

void FindLeftOutRows(archive::Database& archive, BlockReport& report) {
  auto found = rules().find(report.name);
  if (found == rules().end()) return;
  const LeftOutRule& rule = found->second;
  auto rows = archive.open_snapshot(rule.left_out_query);
  for (; !rows->eof(); rows->move_next()) {
    if (report.left_out.shown().size() < kEntriesShown) report.left_out.add(rule.describe(*rows));
    else report.left_out.add_unlisted(1);
  }
  rows->close();

  // Every row not left out is written once per match, so the records beyond that number are copies.
  const std::int64_t extra = report.written - (own_rows(archive, rule) - report.left_out.count());
  if (extra <= 0) return;
  report.extra_copies = extra;
  // The list may miss copies made by a join further away (a header's customer held twice); the
  // count of copies does not.
  list_duplicates(archive, rule, report);
}

}  // namespace tarvik::report
