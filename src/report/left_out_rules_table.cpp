// The rules of the blocks whose query joins: one per block, in the run's order. The reasons'
// nouns are the page's Italian; the sentences around them are LeftOutReason's.
#include <string_view>
#include <vector>

#include "exporters/header_and_rows.h"
#include "report/left_out_rule.h"

namespace tarvik::report {

namespace {

using exporters::HeaderAndRows;

constexpr RuleJoin kRegister{"idCliFor", "CliFor", "idCliFor", Finds::Index, "cliente"};

// Whose record a header names, as its reasons call it.
std::string_view register_noun(std::string_view header) {
  if (header == "TestataOrdForn") return "fornitore";
  if (header == "PrimanotaDocumenti") return "cliente/fornitore";
  return "cliente";
}

// A header's own rule: its customer or supplier must exist. Its rows' block asks which headers
// were written, so they are kept.
LeftOutRule header_rule(const HeaderAndRows& kind) {
  LeftOutRule rule{kind.header, kind.header, kind.header_key, {}, {kRegister}};
  rule.joins[0].noun = register_noun(kind.header);
  // Documents carry a number and a year; the journal's documents do not.
  if (kind.header_key == "idDocumento")
    rule.listed = {{"Numero", ", ", "numero", Shown::Plain, true}, {"Anno", "/", "", Shown::Plain, true}};
  rule.keeps_rows = true;
  return rule;
}

// A row goes out when its header did.
LeftOutRule rows_rule(const HeaderAndRows& kind) {
  const RuleJoin header{kind.header_key, kind.header, kind.header_key, Finds::KeptRows, "testata",
                        Shown::Plain, "esclusa", true, true};
  return {kind.rows, kind.rows, kind.row_key, {{kind.header_key, ", ", kind.header_key}}, {header}};
}

std::vector<LeftOutRule> make_rules() {
  RuleJoin agent_register = kRegister;
  agent_register.noun = "anagrafica";
  RuleJoin supplier = kRegister;
  supplier.noun = "fornitore";
  std::vector<LeftOutRule> rules = {
      {"Agenti", "Agenti", "idCliFor", {}, {agent_register}},
      // The pairs come from the register records that name an agent; one whose agent has no rules,
      // or whose rules belong to no register record, goes nowhere.
      {"LinkAgentiCliFor", "CliFor", "idCliFor", {},
       {{"idAgente", "Agenti", "idCliFor", Finds::KeptRows, "agente", Shown::Plain, "senza anagrafica", false, true}},
       "idAgente IS NOT NULL"},
      {"GiornaleMagazzino", "GiornaleMagazzino", "idGiornaleMagazzino", {{"Codice", ", ", "Codice", Shown::Quoted}},
       {{"Codice", "Magazzino", "Codice", Finds::Index, "articolo", Shown::Quoted}}},
      {"LinkMagazzinoFornitori", "LinkMagazzinoFornitori", "idMagazzinoFornitori", {},
       {{"CodiceArticolo", "Magazzino", "Codice", Finds::Index, "articolo", Shown::Quoted, {}, false, true},
        supplier}},
  };
  for (const HeaderAndRows& kind : exporters::kHeaderAndRows) {
    rules.push_back(header_rule(kind));
    rules.push_back(rows_rule(kind));
  }
  return rules;
}

}  // namespace

const std::vector<LeftOutRule>& left_out_rules() {
  static const std::vector<LeftOutRule> rules = make_rules();
  return rules;
}

const LeftOutRule* rule_for(std::string_view block) {
  for (const LeftOutRule& rule : left_out_rules())
    if (rule.block == block) return &rule;
  return nullptr;
}

}  // namespace tarvik::report
