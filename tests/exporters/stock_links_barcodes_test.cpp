// The blocks that hang on the items: barcodes, stock journal, supplier links, bills of materials.
// Each test's archive holds rows that the block's query must drop, and the expected lines leave
// them out.
#include <gtest/gtest.h>

#include "exporters/exporters.h"
#include "named_table.h"
#include "stage_run.h"

namespace tarvik::test {
namespace {

TestTable magazzino(const std::vector<NamedRow>& rows) {
  return named_table("Magazzino",
                     {{"Codice", FieldType::Text, 20},
                      {"Descrizione", FieldType::Text, 80},
                      {"Barcode", FieldType::Text, 20}},
                     {"Codice"}, rows);
}

TestTable items(const std::vector<std::u16string>& codes) {
  std::vector<NamedRow> rows;
  for (const auto& code : codes) rows.push_back({{"Codice", T(code)}});
  return magazzino(rows);
}

TEST(Barcodes, OnlyItemsWithANonEmptyBarcodeInArchiveOrder) {
  const StageOutput out = run_stage({magazzino({
                                        {{"Codice", T(u"B2")}, {"Barcode", T(u"8001234567890")}},
                                        {{"Codice", T(u"NULLO")}},
                                        {{"Codice", T(u"VUOTO")}, {"Barcode", T(u"")}},
                                        {{"Codice", T(u"BLANK")}, {"Barcode", T(u" ")}},
                                        {{"Codice", T(u"A1")}, {"Barcode", T(u"12\t3\r\n4")}},
                                    })},
                                    exporters::ExportBarcodeMagazzino);

  EXPECT_EQ(out.lines, block("BarcodeMagazzino", " 3 ",
                             {{"B2", "8001234567890"}, {"BLANK", " "}, {"A1", "12\t34"}}));
  EXPECT_EQ(out.ticks, 3);
}

TEST(Barcodes, NoItemWithABarcodeGivesACountOfZero) {
  const StageOutput out = run_stage({items({u"A", u"B"})}, exporters::ExportBarcodeMagazzino);

  EXPECT_EQ(out.lines, block("BarcodeMagazzino", " 0 "));
  EXPECT_EQ(out.ticks, 0);
}

TestTable giornale(const std::vector<NamedRow>& rows) {
  return named_table("GiornaleMagazzino",
                     {{"PrezzoNetto", FieldType::Currency},
                      {"idCliFor", FieldType::Long},
                      {"DataDocumento", FieldType::DateTime},
                      {"NDocumento", FieldType::Text, 20},
                      {"idCausale", FieldType::Integer},
                      {"DataRegistrazione", FieldType::DateTime},
                      {"DataMovimento", FieldType::DateTime},
                      {"Quantita", FieldType::Double},
                      {"Codice", FieldType::Text, 20},
                      {"idGiornaleMagazzino", FieldType::Long}},
                     {"idGiornaleMagazzino"}, rows);
}

TEST(StockJournal, WritesTheMovementsOfExistingItemsOnly) {
  const StageOutput out = run_stage(
      {items({u"CAF01", u"ZUC02"}),
       giornale({
           {{"idGiornaleMagazzino", L(7)},
            {"Codice", T(u"ZUC02")},
            {"Quantita", Dbl(-2.5)},
            {"DataMovimento", Date(2003, 5, 7, 14, 30)},
            {"DataRegistrazione", Date(2003, 5, 8)},
            {"idCausale", I16(3)},
            {"NDocumento", T(u"F/12")},
            {"DataDocumento", Date(2003, 5, 6)},
            {"idCliFor", L(41)},
            {"PrezzoNetto", Money(3.75)}},
           {{"idGiornaleMagazzino", L(8)}, {"Codice", T(u"CANCELLATO")}, {"Quantita", Dbl(1)}},
           {{"idGiornaleMagazzino", L(3)}, {"Codice", T(u"CAF01")}, {"Quantita", Dbl(10)}},
           {{"idGiornaleMagazzino", L(9)}, {"Quantita", Dbl(4)}},
       })},
      exporters::ExportGiornaleMagazzino);

  EXPECT_EQ(out.lines, block("GiornaleMagazzino", " 2 ",
                             {{"7", "ZUC02", "-2.5", "2003-05-07", "2003-05-08", "3", "F/12", "2003-05-06", "41",
                               "3.75"},
                              {"3", "CAF01", "10", "", "", "", "", "", "", ""}}));
  EXPECT_EQ(out.ticks, 2);
}

TEST(StockJournal, MatchesItemCodesAsJetDoesWithoutRegardToCase) {
  // Jet compares text in a join without regard to case; the movement keeps its own spelling.
  const StageOutput out =
      run_stage({items({u"CAF01"}), giornale({{{"idGiornaleMagazzino", L(1)}, {"Codice", T(u"caf01")}}})},
                exporters::ExportGiornaleMagazzino);

  EXPECT_EQ(out.lines, block("GiornaleMagazzino", " 1 ", {{"1", "caf01", "", "", "", "", "", "", "", ""}}));
}

TEST(StockJournal, NoMovementGivesACountOfZero) {
  const StageOutput out = run_stage({items({u"CAF01"}), giornale({})}, exporters::ExportGiornaleMagazzino);

  EXPECT_EQ(out.lines, block("GiornaleMagazzino", " 0 "));
  EXPECT_EQ(out.ticks, 0);
}

TestTable links(const std::vector<NamedRow>& rows) {
  return named_table("LinkMagazzinoFornitori",
                     {{"CodPForn", FieldType::Text, 20},
                      {"CodiceArticolo", FieldType::Text, 20},
                      {"idCliFor", FieldType::Long},
                      {"idMagazzinoFornitori", FieldType::Long},
                      {"Preferenziale", FieldType::Boolean},
                      {"PrezzoNetto", FieldType::Currency},
                      {"Sc1", FieldType::Single},
                      {"Sc2", FieldType::Single},
                      {"Sc3", FieldType::Single},
                      {"UltimoCarico", FieldType::DateTime}},
                     {"idMagazzinoFornitori"}, rows);
}

TEST(SupplierLinks, WritesLinksWhoseItemAndSupplierBothExist) {
  const StageOutput out = run_stage(
      {items({u"CAF01", u"ZUC02"}), clifor_table({41, 42}),
       links({
           {{"idMagazzinoFornitori", L(5)},
            {"idCliFor", L(42)},
            {"CodiceArticolo", T(u"ZUC02")},
            {"Sc1", Sgl(10)},
            {"Sc2", Sgl(2.5f)},
            {"Sc3", Sgl(0.5f)},
            {"CodPForn", T(u"FZ-77")},
            {"Preferenziale", Bool(true)},
            {"UltimoCarico", Date(2004, 1, 31)},
            {"PrezzoNetto", Money(0.125)}},
           {{"idMagazzinoFornitori", L(6)}, {"idCliFor", L(99)}, {"CodiceArticolo", T(u"CAF01")}},
           {{"idMagazzinoFornitori", L(7)}, {"idCliFor", L(41)}, {"CodiceArticolo", T(u"SPARITO")}},
           {{"idMagazzinoFornitori", L(8)}, {"CodiceArticolo", T(u"CAF01")}},
           {{"idMagazzinoFornitori", L(2)}, {"idCliFor", L(41)}, {"CodiceArticolo", T(u"CAF01")}},
       })},
      exporters::ExportLinkMagazzinoFornitori);

  EXPECT_EQ(out.lines, block("LinkMagazzinoFornitori", " 2 ",
                             {{"5", "42", "ZUC02", "10", "2.5", "0.5", "FZ-77", "T", "2004-01-31", "0.125"},
                              {"2", "41", "CAF01", "", "", "", "", "F", "", ""}}));
  EXPECT_EQ(out.ticks, 2);
}

TEST(SupplierLinks, NoLinkGivesACountOfZero) {
  const StageOutput out = run_stage({items({u"CAF01"}), clifor_table({41}), links({})},
                                    exporters::ExportLinkMagazzinoFornitori);

  EXPECT_EQ(out.lines, block("LinkMagazzinoFornitori", " 0 "));
}

TestTable distinte(const std::vector<NamedRow>& rows) {
  return named_table("DistinteMagazzino",
                     {{"Quantita", FieldType::Double},
                      {"CodFiglio", FieldType::Text, 20},
                      {"CodPadre", FieldType::Text, 20},
                      {"Sequenza", FieldType::Integer},
                      {"idDistinte", FieldType::Long}},
                     {"idDistinte"}, rows);
}

TEST(BillsOfMaterials, WritesEveryRowWhetherOrNotItsCodesNameAnItem) {
  const StageOutput out = run_stage(
      {items({u"KIT"}),
       distinte({
           {{"idDistinte", L(4)}, {"Sequenza", I16(2)}, {"CodPadre", T(u"KIT")}, {"CodFiglio", T(u"NESSUNO")},
            {"Quantita", Dbl(0.75)}},
           {{"idDistinte", L(1)}, {"Sequenza", I16(-1)}, {"CodPadre", T(u"ORFANO")}},
       })},
      exporters::ExportDistinteMagazzino);

  EXPECT_EQ(out.lines, block("DistinteMagazzino", " 2 ",
                             {{"4", "2", "KIT", "NESSUNO", "0.75"}, {"1", "-1", "ORFANO", "", ""}}));
  EXPECT_EQ(out.ticks, 2);
}

TEST(BillsOfMaterials, AnEmptyTableGivesACountOfZero) {
  const StageOutput out = run_stage({distinte({})}, exporters::ExportDistinteMagazzino);

  EXPECT_EQ(out.lines, block("DistinteMagazzino", " 0 "));
}

}  // namespace
}  // namespace tarvik::test
