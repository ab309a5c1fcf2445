// The planner on a schema shaped like Tarvik's: names resolved without regard to case, what each
// joined table keeps in memory, the result's column names and types, and the errors Jet gives.
#include "archive/sql/plan.h"

#include <gtest/gtest.h>

#include <map>

#include "archive/archive_error.h"
#include "archive/sql/lexer.h"
#include "archive/sql/parser.h"
#include "sql/quoted_queries.h"

namespace tarvik::archive::sql {
namespace {


jet::TableDef table(std::string name, std::vector<std::pair<std::string, FieldType>> columns) {
  jet::TableDef t;
  t.name = std::move(name);
  for (auto& [column, type] : columns) {
    jet::Column c;
    c.name = column;
    c.type = type;
    c.length = type == FieldType::Text ? 100 : 4;
    t.columns.push_back(c);
  }
  return t;
}

const std::map<std::string, jet::TableDef>& schema() {
  static const std::map<std::string, jet::TableDef> tables = [] {
    constexpr auto L = FieldType::Long;
    constexpr auto T = FieldType::Text;
    std::map<std::string, jet::TableDef> m;
    auto add = [&m](jet::TableDef t) { m.emplace(t.name, std::move(t)); };
    add(table("CliFor", {{"idCliFor", L}, {"RagioneSociale1", T}, {"idAgente", L},
                         {"NoteInBolla", FieldType::Memo}, {"idCondPag", FieldType::Integer}}));
    add(table("Agenti", {{"idCliFor", L}, {"TipoProvvigione", FieldType::Byte}}));
    add(table("LinkMagazzinoFornitori", {{"idMagazzinoFornitori", L}, {"idCliFor", L}, {"CodiceArticolo", T}}));
    add(table("Magazzino", {{"Codice", T}, {"Barcode", T}, {"Collocazione", T}}));
    add(table("GiornaleMagazzino", {{"idGiornaleMagazzino", L}, {"Codice", T}, {"Quantita", FieldType::Double}}));
    add(table("DistinteMagazzino", {{"CodicePadre", T}, {"CodiceFiglio", T}}));
    add(table("StampaPersonalizzata", {{"TipoDocumento", T}, {"TestataRighe", T}, {"NumeroOrdine", FieldType::Integer}}));
    add(table("StampaPersonalizzata2", {{"TipoDocumento", T}, {"InizioRighe", FieldType::Integer}}));
    add(table("PrimanotaDocumenti", {{"idPrimanota", L}, {"idCliFor", L}, {"idDocumento", L}, {"CreatoDa", T}}));
    add(table("PrimanotaMovimenti", {{"idMovimento", L}, {"idPrimanota", L}, {"Importo", FieldType::Currency}}));
    add(table("ProgrDocumenti", {{"Anno", FieldType::Integer}, {"TipoDocumento", T}, {"Progressivo", L}}));
    for (const char* name : {"TabellaAspettoBeni", "BancheAppoggio", "TabellaCausaliTrasporto", "CondPag",
                             "TabellaIVA", "TabellaProduttori", "TabellaVettori", "CausPrim", "TabellaContiCorrenti"}) {
      add(table(name, {{"id", L}, {"Descrizione", T}}));
    }
    for (const char* kind : {"FattAcc", "Fatture", "Bolle", "OrdCli", "Preventivi", "DocGen1", "OrdForn"}) {
      add(table(std::string("Testata") + kind, {{"idDocumento", L}, {"idCliFor", L}, {"idDestinazione", L},
                                                {"Numero", L}, {"Data", FieldType::DateTime}}));
      add(table(std::string("Righe") + kind, {{"idRigaDocumento", L}, {"idDocumento", L}, {"codice", T}}));
    }
    return m;
  }();
  return tables;
}

jet::TableDef lookup(std::string_view name) {
  for (const auto& [n, t] : schema()) {
    if (same_name(n, name)) return t;
  }
  throw errors::table_not_found(name);
}

Plan plan(const std::string& text) { return make_plan(parse(text), lookup); }

ArchiveError plan_error(const std::string& text) {
  try {
    plan(text);
  } catch (const ArchiveError& e) {
    return e;
  }
  return ArchiveError(0, "no error");
}

std::vector<std::string> names(const Plan& p) {
  std::vector<std::string> out;
  for (const OutputColumn& c : p.columns) out.push_back(c.name);
  return out;
}

TEST(Plan, PlansEveryQuotedQuery) {
  for (const std::string& q : test::quoted_queries()) {
    EXPECT_NO_THROW(plan(q)) << q;
  }
}

TEST(Plan, StarOfOneTableKeepsItsColumnsAndTypes) {
  const Plan p = plan("SELECT Agenti.* FROM Agenti INNER JOIN CliFor ON Agenti.idCliFor = CliFor.idCliFor");
  EXPECT_EQ(names(p), (std::vector<std::string>{"idCliFor", "TipoProvvigione"}));
  EXPECT_EQ(p.columns[1].expr.type.type, FieldType::Byte);
  EXPECT_TRUE(p.streams());
}

TEST(Plan, AJoinedTableReadOnlyByItsJoinKeepsNoColumns) {
  Plan p = plan("SELECT Agenti.* FROM Agenti INNER JOIN CliFor ON Agenti.idCliFor = CliFor.idCliFor");
  EXPECT_TRUE(p.sources[1].stored_columns.empty());
  // A null test of the joined key asks only whether a row was matched: nothing is kept...
  const std::string without_destination =
      "select TestataFattAcc.* from TestataFattAcc left join CliFor on TestataFattAcc.idDestinazione = "
      "CliFor.idCliFor where ";
  p = plan(without_destination + "CliFor.idCliFor is null");
  EXPECT_TRUE(p.sources[1].stored_columns.empty());
  ASSERT_EQ(p.where->kind, BoundKind::RowMissing);
  EXPECT_EQ(p.where->source, 1u);
  // ...but a WHERE that reads the joined key's value keeps it.
  p = plan(without_destination + "CliFor.idCliFor > 5 or CliFor.idCliFor is null");
  EXPECT_EQ(p.sources[1].stored_columns, (std::vector<std::size_t>{0}));
  // The middle table of a chain keeps the key the next join reads.
  p = plan("SELECT RigheFattAcc.* FROM (RigheFattAcc INNER JOIN TestataFattAcc ON RigheFattAcc.idDocumento = "
           "TestataFattAcc.idDocumento) INNER JOIN CliFor ON TestataFattAcc.idCliFor = CliFor.idCliFor");
  EXPECT_EQ(p.sources[1].stored_columns, (std::vector<std::size_t>{1}));
  EXPECT_TRUE(p.sources[2].stored_columns.empty());
}

TEST(Plan, SelfJoinGivesEachInstanceItsOwnSource) {
  const Plan p = plan(
      "SELECT CliFor.idCliFor, CliFor.idAgente FROM (CliFor INNER JOIN Agenti ON CliFor.idAgente = "
      "Agenti.idCliFor) INNER JOIN CliFor AS CliFor_1 ON Agenti.idCliFor = CliFor_1.idCliFor");
  ASSERT_EQ(p.sources.size(), 3u);
  EXPECT_EQ(p.sources[2].name, "CliFor_1");
  EXPECT_EQ(p.from->right_keys[0].source, 2u);
  EXPECT_EQ(p.from->left_keys[0].source, 1u);  // Agenti.idCliFor
  EXPECT_EQ(names(p), (std::vector<std::string>{"idCliFor", "idAgente"}));
}

TEST(Plan, JoinSidesAreFoundWhicheverWayTheEqualityIsWritten) {
  const Plan p = plan("SELECT Agenti.* FROM Agenti INNER JOIN CliFor ON CliFor.idCliFor = Agenti.idCliFor");
  EXPECT_EQ(p.from->left_keys[0].source, 0u);
  EXPECT_EQ(p.from->right_keys[0].source, 1u);
}

TEST(Plan, GroupByNamesCountAfterItsPositionAndTypesItLong) {
  const Plan p = plan(
      "select CodiceArticolo, idCliFor, count(CodiceArticolo) from LinkMagazzinoFornitori group by "
      "CodiceArticolo, idCliFor having count(CodiceArticolo) > 1");
  EXPECT_TRUE(p.grouped);
  EXPECT_EQ(names(p), (std::vector<std::string>{"CodiceArticolo", "idCliFor", "Expr1002"}));
  EXPECT_EQ(p.columns[0].expr.type.type, FieldType::Text);
  EXPECT_EQ(p.columns[2].expr.type.type, FieldType::Long);
  EXPECT_EQ(p.aggregates.size(), 1u);  // the COUNT of HAVING is the selected one
  EXPECT_EQ(p.columns[0].expr.kind, BoundKind::GroupValue);
}

TEST(Plan, NamesMatchWithoutRegardToCase) {
  const Plan p = plan("SELECT CODICE, barcode FROM magazzino WHERE len(BARCODE) > 0");
  EXPECT_EQ(names(p), (std::vector<std::string>{"Codice", "Barcode"}));
}

TEST(Plan, ARepeatedColumnNameIsQualifiedByItsTable) {
  const Plan p = plan("SELECT * FROM Agenti INNER JOIN CliFor ON Agenti.idCliFor = CliFor.idCliFor");
  EXPECT_EQ(names(p)[0], "Agenti.idCliFor");
  EXPECT_EQ(names(p)[2], "CliFor.idCliFor");
  EXPECT_EQ(names(p)[3], "RagioneSociale1");
}

TEST(Plan, AliasesNameColumns) {
  const Plan p = plan("SELECT count(*) AS Quanti, Codice AS C FROM Magazzino GROUP BY Codice");
  EXPECT_EQ(names(p), (std::vector<std::string>{"Quanti", "C"}));
}

TEST(Plan, UnknownNamesAreCountedAsJetParameters) {
  ArchiveError e = plan_error("SELECT NoteInBolla FROM Agenti WHERE idCliFor = -1");
  EXPECT_EQ(e.number(), 3061);
  EXPECT_EQ(e.description(), "Parametri insufficienti. Previsto 1.");
  e = plan_error("SELECT Nessuno, Altro FROM CliFor WHERE nessuno = 1 ORDER BY Terzo");
  EXPECT_EQ(e.description(), "Parametri insufficienti. Previsto 3.");
  EXPECT_EQ(plan_error("SELECT CliFor.Manca FROM CliFor").number(), 3061);
  EXPECT_EQ(plan_error("SELECT Altro.idCliFor FROM CliFor").number(), 3061);
  EXPECT_EQ(plan_error("SELECT * FROM Agenti INNER JOIN CliFor ON Agenti.manca = CliFor.idCliFor").number(), 3061);
}

// Unknown names are gathered from every clause, once each whatever their case, and refused before
// the checks that need the whole statement bound (grouping, DISTINCT against ORDER BY).
TEST(Plan, UnknownNamesFromEveryClauseComeBeforeTheWholeStatementChecks) {
  EXPECT_EQ(plan_error("SELECT count(*) FROM Agenti INNER JOIN CliFor ON Agenti.manca = CliFor.idCliFor "
                       "WHERE altro = 1 GROUP BY Agenti.idCliFor HAVING count(terzo) > 1 ORDER BY quarto")
                .description(),
            "Parametri insufficienti. Previsto 4.");
  EXPECT_EQ(plan_error("SELECT * FROM CliFor WHERE manca = 1 OR MANCA = 2").description(),
            "Parametri insufficienti. Previsto 1.");
  EXPECT_EQ(plan_error("SELECT Codice, Barcode FROM Magazzino WHERE Manca = 1 GROUP BY Codice").number(), 3061);
  EXPECT_EQ(plan_error("SELECT DISTINCT Codice FROM Magazzino ORDER BY Barcode, Manca").number(), 3061);
}

TEST(Plan, UnknownTableNamesIt) {
  const ArchiveError e = plan_error("SELECT * FROM Inesistente");
  EXPECT_EQ(e.number(), 3078);
  EXPECT_EQ(e.description(), "Impossibile trovare la tabella o la query di input 'Inesistente'.");
  EXPECT_EQ(plan_error("SELECT Manca.* FROM CliFor").number(), 3078);
}

TEST(Plan, RefusesWhatJetRefuses) {
  EXPECT_EQ(plan_error("SELECT idCliFor FROM Agenti INNER JOIN CliFor ON Agenti.idCliFor = CliFor.idCliFor").number(), 3079);
  EXPECT_EQ(plan_error("SELECT * FROM CliFor INNER JOIN CliFor ON CliFor.idCliFor = CliFor.idAgente").number(), 3135);
  EXPECT_EQ(plan_error("SELECT * FROM Magazzino WHERE Codice = 1").number(), 3464);
  EXPECT_EQ(plan_error("SELECT * FROM Magazzino WHERE Codice").number(), 3464);
  EXPECT_EQ(plan_error("SELECT * FROM Magazzino INNER JOIN CliFor ON Magazzino.Codice = CliFor.idCliFor").number(), 3615);
  EXPECT_EQ(plan_error("SELECT * FROM Agenti INNER JOIN CliFor ON Agenti.idCliFor > CliFor.idCliFor").number(), 3296);
  EXPECT_EQ(plan_error("SELECT * FROM Agenti INNER JOIN CliFor ON Agenti.idCliFor = 1").number(), 3296);
  EXPECT_EQ(plan_error("SELECT * FROM Agenti INNER JOIN CliFor ON CliFor.idAgente = CliFor.idCliFor").number(), 3296);
  EXPECT_EQ(plan_error("SELECT * FROM Agenti INNER JOIN CliFor ON Agenti.idCliFor = CliFor.idCliFor OR Agenti.idCliFor = 2").number(), 3296);
  EXPECT_EQ(plan_error("SELECT Codice, Barcode FROM Magazzino GROUP BY Codice").number(), 3122);
  EXPECT_EQ(plan_error("SELECT Codice, count(Barcode) FROM Magazzino").number(), 3122);
  EXPECT_EQ(plan_error("SELECT Codice FROM Magazzino WHERE count(Barcode) > 1").number(), 3096);
  EXPECT_EQ(plan_error("SELECT DISTINCT Codice FROM Magazzino ORDER BY Barcode").number(), 3093);
  EXPECT_EQ(plan_error("SELECT sum(idCliFor) FROM CliFor").number(), 3251);
  EXPECT_EQ(plan_error("SELECT * FROM CliFor WHERE -idCliFor = 1").number(), 3251);
  EXPECT_EQ(plan_error("SELECT * FROM GiornaleMagazzino WHERE LEN(Quantita) > 1").number(), 3251);
}

TEST(Plan, NegativeAndLargeLiteralsKeepTheirValue) {
  const Plan p = plan("SELECT * FROM CliFor WHERE idCliFor = -1 OR idCliFor = 3000000000 OR idCliFor = 2.5");
  const Bound& first = p.where->args[0].args[0];
  EXPECT_EQ(first.args[1].literal, Value::long_(-1));
  EXPECT_EQ(first.args[1].type.type, FieldType::Long);
  EXPECT_EQ(p.where->args[0].args[1].args[1].literal, Value::double_(3000000000.0));
  EXPECT_EQ(p.where->args[1].args[1].literal, Value::double_(2.5));
}

TEST(Plan, StreamsOnlyWhenNothingNeedsTheWholeResult) {
  EXPECT_TRUE(plan("SELECT * FROM CliFor WHERE idCliFor = -1").streams());
  EXPECT_FALSE(plan("SELECT DISTINCT Collocazione FROM Magazzino").streams());
  EXPECT_FALSE(plan("SELECT * FROM StampaPersonalizzata2 ORDER BY TipoDocumento").streams());
  EXPECT_FALSE(plan("SELECT count(*) FROM CliFor").streams());
}

}  // namespace
}  // namespace tarvik::archive::sql
