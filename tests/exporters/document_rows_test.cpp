// The rows of the document kinds: 11 lines per row, in the rows table's own order, and only the
// rows whose header is exported (the header exists and its customer or supplier is in CliFor).
#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "exporters/document_rows.h"
#include "exporters/exporters.h"
#include "named_table.h"
#include "stage_run.h"

namespace tarvik::test {
namespace {

TEST(DocumentRowsQuery, JoinsTheRowsToTheirHeaderAndTheHeaderToCliFor) {
  EXPECT_EQ(exporters::DocumentRowsQuery("RigheFattAcc", "TestataFattAcc"),
            "SELECT RigheFattAcc.* FROM (RigheFattAcc INNER JOIN TestataFattAcc ON RigheFattAcc.idDocumento = "
            "TestataFattAcc.idDocumento) INNER JOIN CliFor ON TestataFattAcc.idCliFor = CliFor.idCliFor");
  EXPECT_EQ(exporters::DocumentRowsQuery("RigheOrdForn", "TestataOrdForn"),
            "SELECT RigheOrdForn.* FROM (RigheOrdForn INNER JOIN TestataOrdForn ON RigheOrdForn.idDocumento = "
            "TestataOrdForn.idDocumento) INNER JOIN CliFor ON TestataOrdForn.idCliFor = CliFor.idCliFor");
}

TestTable rows_table(const std::string& name, const std::vector<NamedRow>& rows) {
  return named_table(name,
                     {{"ScontoTxt", FieldType::Text, 20},
                      {"Prezzo", FieldType::Currency},
                      {"idTabIva", FieldType::Long},
                      {"UM", FieldType::Text, 5},
                      {"Sconto", FieldType::Single},
                      {"Quantita", FieldType::Double},
                      {"Descrizione", FieldType::Text, 255},
                      {"Codice", FieldType::Text, 20},
                      {"NumeroRiga", FieldType::Integer},
                      {"idDocumento", FieldType::Long},
                      {"idRigaDocumento", FieldType::Long}},
                     {"idRigaDocumento"}, rows);
}

// A header table with only what the join reads, and the number for realism.
TestTable header_table(const std::string& name, const std::vector<std::pair<std::int32_t, std::int32_t>>& documents) {
  std::vector<NamedRow> rows;
  for (auto [document, customer] : documents)
    rows.push_back({{"idDocumento", L(document)}, {"idCliFor", L(customer)}, {"Numero", L(document)}});
  return named_table(name,
                     {{"idDocumento", FieldType::Long}, {"idCliFor", FieldType::Long}, {"Numero", FieldType::Long}},
                     {"idDocumento"}, rows);
}

NamedRow row(std::int32_t id, std::optional<std::int32_t> document, std::int16_t number) {
  NamedRow r = {{"idRigaDocumento", L(id)}, {"NumeroRiga", I16(number)}};
  if (document) r["idDocumento"] = L(*document);
  return r;
}

std::vector<std::string> row_lines(const std::string& id, const std::string& document, const std::string& number) {
  return {id, document, number, "", "", "", "", "", "", "", ""};
}

TEST(DocumentRows, WritesTheRowsOfExportedHeadersInTheRowsTableOrder) {
  const StageOutput out = run_stage(
      {clifor_table({41}), header_table("TestataBolle", {{1, 41}, {2, 99}, {3, 41}}),
       rows_table("RigheBolle", {row(10, 3, 2),
                                 with(row(11, 1, 1), {{"Codice", T(u"CAF01")},
                                                      {"Descrizione", T(u"Caff\u00E8\r\nin grani")},
                                                      {"Quantita", Dbl(2.5)},
                                                      {"Sconto", Sgl(10)},
                                                      {"UM", T(u"kg")},
                                                      {"idTabIva", L(4)},
                                                      {"Prezzo", Money(7.9)},
                                                      {"ScontoTxt", T(u"10+5")}}),
                                 row(12, 2, 1), row(13, 7, 1), row(14, 3, 1), row(15, std::nullopt, 1)})},
      [](exporters::ExportContext& context) {
        exporters::ExportDocumentRows(context, "RigheBolle", "TestataBolle");
      });

  EXPECT_EQ(out.lines, block("RigheBolle", " 3 ",
                             {row_lines("10", "3", "2"),
                              {"11", "1", "1", "CAF01", "Caff\xE8in grani", "2.5", "10", "kg", "4", "7.9", "10+5"},
                              row_lines("14", "3", "1")}));
  EXPECT_EQ(out.ticks, 3);
}

TEST(DocumentRows, NoRowOfAnExportedHeaderGivesACountOfZero) {
  const StageOutput out = run_stage(
      {clifor_table({41}), header_table("TestataOrdCli", {{1, 99}}), rows_table("RigheOrdCli", {row(1, 1, 1)})},
      [](exporters::ExportContext& context) {
        exporters::ExportDocumentRows(context, "RigheOrdCli", "TestataOrdCli");
      });

  EXPECT_EQ(out.lines, block("RigheOrdCli", " 0 "));
  EXPECT_EQ(out.ticks, 0);
}

TEST(DocumentRows, EachKindIsNamedAfterItsRowsTableAndFilteredByItsOwnHeaders) {
  // Every kind's header table holds a different document for customer 41, so a row block that
  // read another kind's headers would keep the wrong row.
  const std::vector<std::pair<std::string, std::string>> kinds = {
      {"RigheFattAcc", "TestataFattAcc"}, {"RigheFatture", "TestataFatture"},
      {"RigheBolle", "TestataBolle"},     {"RigheOrdCli", "TestataOrdCli"},
      {"RighePreventivi", "TestataPreventivi"}, {"RigheDocGen1", "TestataDocGen1"},
      {"RigheOrdForn", "TestataOrdForn"}};
  std::vector<TestTable> tables = {clifor_table({41})};
  std::vector<std::string> expected;
  for (std::int32_t k = 0; k < static_cast<std::int32_t>(kinds.size()); ++k) {
    const std::int32_t document = 100 + k;
    tables.push_back(header_table(kinds[k].second, {{document, 41}}));
    std::vector<NamedRow> rows;
    for (std::int32_t other = 100; other < 107; ++other) rows.push_back(row(other * 10, other, 1));
    tables.push_back(rows_table(kinds[k].first, rows));
    expected = concat(expected, block(kinds[k].first, " 1 ",
                                      {row_lines(std::to_string(document * 10), std::to_string(document), "1")}));
  }

  const StageOutput out = run_stage(tables, [&](exporters::ExportContext& context) {
    for (const auto& [rows, header] : kinds) exporters::ExportDocumentRows(context, rows, header);
  });

  EXPECT_EQ(out.lines, expected);
  EXPECT_EQ(out.ticks, 7);
}

}  // namespace
}  // namespace tarvik::test
