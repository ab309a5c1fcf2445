// The rules of the blocks whose query joins: one per block, in the run's order. The reasons'
// nouns are the page's Italian; the sentences around them are left_out_reason.cpp's.
#include <string_view>
#include <vector>

#include "exporters/header_and_rows.h"
#include "report/left_out_rule.h"

namespace tarvik::report {

namespace {

using exporters::HeaderAndRows;

// A reference to the register (CliFor), named in the reason as `noun`.
constexpr RuleJoin register_join(std::string_view noun) {
  return {.column = "idCliFor", .table = "CliFor", .key = "idCliFor", .noun = noun};
}

// Whose record a header names, as its reasons call it.
constexpr std::string_view register_noun(std::string_view header) {
  if (header == "TestataOrdForn") return "fornitore";
  if (header == "PrimanotaDocumenti") return "cliente/fornitore";
  return "cliente";
}

// A header goes out when its customer or supplier does not exist. Its rows' block asks which
// headers were written, so they are kept.
LeftOutRule header_rule(const HeaderAndRows& kind) {
  LeftOutRule rule{.block = kind.header, .table = kind.header, .key = kind.header_key,
                   .joins = {register_join(register_noun(kind.header))}, .keeps_rows = true};
  // Documents carry a number and a year; the journal's documents do not.
  if (kind.header_key == "idDocumento")
    rule.listed = {{.column = "Numero", .separator = ", ", .label = "numero", .omitted_when_null = true},
                   {.column = "Anno", .separator = "/", .omitted_when_null = true}};
  return rule;
}

// A row goes out when its header did, or has none.
LeftOutRule rows_rule(const HeaderAndRows& kind) {
  return {.block = kind.rows,
          .table = kind.rows,
          .key = kind.row_key,
          .listed = {{.column = kind.header_key, .separator = ", ", .label = kind.header_key}},
          .joins = {{.column = kind.header_key, .table = kind.header, .key = kind.header_key,
                     .finds = Finds::KeptRows, .noun = "testata", .not_written = "esclusa", .with_cause = true,
                     .lets_go = true}}};
}

std::vector<LeftOutRule> make_rules() {
  std::vector<LeftOutRule> rules = {
      {.block = "Agenti", .table = "Agenti", .key = "idCliFor", .joins = {register_join("anagrafica")}},
      // The pairs come from the register records that name an agent; one whose agent has no rules,
      // or whose rules belong to no register record, goes nowhere.
      {.block = "LinkAgentiCliFor",
       .table = "CliFor",
       .key = "idCliFor",
       .joins = {{.column = "idAgente", .table = "Agenti", .key = "idCliFor", .finds = Finds::KeptRows,
                  .noun = "agente", .not_written = "senza anagrafica", .lets_go = true}},
       .condition = "idAgente IS NOT NULL"},
      {.block = "GiornaleMagazzino",
       .table = "GiornaleMagazzino",
       .key = "idGiornaleMagazzino",
       .listed = {{.column = "Codice", .separator = ", ", .label = "Codice", .shown = Shown::Quoted}},
       .joins = {{.column = "Codice", .table = "Magazzino", .key = "Codice", .noun = "articolo",
                  .shown = Shown::Quoted}}},
      {.block = "LinkMagazzinoFornitori",
       .table = "LinkMagazzinoFornitori",
       .key = "idMagazzinoFornitori",
       .joins = {{.column = "CodiceArticolo", .table = "Magazzino", .key = "Codice", .noun = "articolo",
                  .shown = Shown::Quoted, .lets_go = true},
                 register_join("fornitore")}},
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
