// The nine lookup blocks: every record, every field plain, in the run plan's order; and the
// condition-code list that the payment conditions fill.
#include <gtest/gtest.h>

#include "archive/archive_error.h"
#include "exporters/exporters.h"
#include "exporters/master_data_tables.h"

namespace tarvik::test::master {
namespace {

using namespace exporters;

void export_lookup_tables(ExportHarness& harness) {
  ExportTabellaAspettoBeni(harness);
  ExportBancheAppoggio(harness);
  ExportTabellaCausaliTrasporto(harness);
  ExportCondPag(harness);
  ExportTabellaIVA(harness);
  ExportTabellaProduttori(harness);
  ExportTabellaVettori(harness);
  ExportCausPrim(harness);
  ExportTabellaContiCorrenti(harness);
}

std::vector<TestTable> empty_lookup_tables() {
  return {Table(TabellaAspettoBeni()), Table(BancheAppoggio()), Table(TabellaCausaliTrasporto()),
          Table(CondPag()),           Table(TabellaIVA()),     Table(TabellaProduttori()),
          Table(TabellaVettori()),    Table(CausPrim()),       Table(TabellaContiCorrenti())};
}

TEST(LookupTables, EveryRecordIsWrittenFieldByFieldInTheRunPlansOrder) {
  ArchiveOfTest archive({
      Table(TabellaAspettoBeni())
          .row({{"idRecord", L(1)}, {"Descrizione", T(u"Scatola")}})
          .row({{"idRecord", L(2)}, {"Descrizione", T(u"Sacco\r\nchiuso")}}),
      Table(BancheAppoggio())
          .row({{"idBanca", L(1)}, {"BancaAppoggio", T(u"Banca Popolare")}, {"ABI", T(u"05034")}, {"CAB", T(u"11701")}})
          .row({{"idBanca", L(2)}, {"BancaAppoggio", T(u"Cassa di Risparmio")},
                {"BancaAppoggio2", T(u"Filiale\tcentro")}, {"ABI", T(u"06175")}}),
      Table(TabellaCausaliTrasporto())
          .row({{"idRecord", L(1)}, {"Descrizione", T(u"Vendita")}, {"FatturareDDT", B(true)}})
          .row({{"idRecord", L(2)}, {"Descrizione", T(u"Reso")}, {"FatturareDDT", B(false)}}),
      Table(CondPag())
          .row({{"idCondPag", L(1)}, {"Descrizione", T(u"Rimessa diretta")}, {"Giorni1", I(0)},
                {"Percentuale1", S(100)}})
          .row({{"idCondPag", L(40000)}, {"Descrizione", T(u"30-60 gg f.m.")}, {"Giorni1", I(30)},
                {"FineMese1", B(true)}, {"Percentuale1", S(33.5f)}, {"Giorni2", I(60)}, {"FineMese2", B(true)},
                {"Percentuale2", S(66.5f)}, {"RicevutaBancaria", B(true)}}),
      Table(TabellaIVA())
          .row({{"idTabIva", L(20)}, {"Descrizione", T(u"IVA 20%")}, {"Aliquota", D(20)}})
          .row({{"idTabIva", L(4)}, {"Descrizione", T(u"IVA 4,5%")}, {"Aliquota", D(4.5)}})
          .row({{"idTabIva", L(5)}, {"Descrizione", T(u"Mezzo punto")}, {"Aliquota", D(0.5)}}),
      Table(TabellaProduttori()).row({{"idRecord", L(1)}, {"Descrizione", T(u"Acme")}}),
      Table(TabellaVettori())
          .row({{"idRecord", L(3)}, {"Descrizione", T(u"Trasporti Rossi")}, {"Descrizione2", T(u"Via Roma 1")},
                {"PartitaIVA", T(u"01234567890")}, {"IscrizioneAlbo", T(u"AL-123")}}),
      Table(CausPrim())
          .row({{"idCausPrim", L(1)}, {"Descrizione", T(u"Incasso fattura")}, {"PagamentoIncasso", Y(1)}})
          .row({{"idCausPrim", L(2)}, {"Descrizione", T(u"Giroconto")}}),
      Table(TabellaContiCorrenti()).row({{"idRecord", L(1)}, {"Descrizione", T(u"Cassa è £\x07")}}),
  });
  ExportHarness harness(archive.path());
  export_lookup_tables(harness);

  const Lines expected = {
      "TabellaAspettoBeni", " 2 ",
      "1", "Scatola",
      "2", "Saccochiuso",
      "BancheAppoggio", " 2 ",
      "1", "Banca Popolare", "", "05034", "11701",
      "2", "Cassa di Risparmio", "Filiale\tcentro", "06175", "",
      "TabellaCausaliTrasporto", " 2 ",
      "1", "Vendita", "T",
      "2", "Reso", "F",
      "CondPag", " 2 ",
      "1", "Rimessa diretta", "0", "F", "100", "", "F", "", "", "F", "", "", "F", "", "F",
      "40000", "30-60 gg f.m.", "30", "T", "33.5", "60", "T", "66.5", "", "F", "", "", "F", "", "T",
      "TabellaIVA", " 3 ",
      "20", "IVA 20%", "20",
      "4", "IVA 4,5%", "4.5",
      "5", "Mezzo punto", "0.5",
      "TabellaProduttori", " 1 ",
      "1", "Acme",
      "TabellaVettori", " 1 ",
      "3", "Trasporti Rossi", "Via Roma 1", "", "", "01234567890", "AL-123",
      "CausPrim", " 2 ",
      "1", "Incasso fattura", " 1 ",
      "2", "Giroconto", "",
      "TabellaContiCorrenti", " 1 ",
      "1", "Cassa \xE8 \xA3",
  };
  EXPECT_EQ(harness.lines(), expected);
  EXPECT_EQ(harness.ticks, 16);
}

TEST(LookupTables, EmptyTablesGiveTheNameAndAZeroCountAndEmptyTheConditionCodes) {
  ArchiveOfTest archive(empty_lookup_tables());
  ExportHarness harness(archive.path());
  harness.codes = {7, 8};  // left from an earlier export
  export_lookup_tables(harness);

  const Lines expected = {"TabellaAspettoBeni", " 0 ", "BancheAppoggio", " 0 ", "TabellaCausaliTrasporto", " 0 ",
                          "CondPag", " 0 ", "TabellaIVA", " 0 ", "TabellaProduttori", " 0 ",
                          "TabellaVettori", " 0 ", "CausPrim", " 0 ", "TabellaContiCorrenti", " 0 "};
  EXPECT_EQ(harness.lines(), expected);
  EXPECT_TRUE(harness.codes.empty());
  EXPECT_EQ(harness.ticks, 0);
}

TEST(LookupTables, TheConditionCodesHoldEveryIdAtItsOwnWidthWithoutABound) {
  Table conditions(CondPag());
  ConditionCodeList ids;
  for (std::int32_t i = 1; i <= 1001; ++i) {
    std::int32_t id = i == 1001 ? 2'000'000'000 : i * 40;  // up to 40000 and far above 32767
    conditions.row({{"idCondPag", L(id)}, {"Descrizione", T(u"Condizione")}});
    ids.insert(id);
  }
  ArchiveOfTest archive({conditions});
  ExportHarness harness(archive.path());
  ExportCondPag(harness);
  const Lines lines = harness.lines();

  ASSERT_EQ(lines.size(), 2u + 1001u * 15u);
  EXPECT_EQ(lines[1], " 1001 ");
  EXPECT_EQ(lines[2 + 1000 * 15], "2000000000");
  EXPECT_EQ(harness.codes, ids);
  EXPECT_EQ(harness.ticks, 1001);
}

TEST(LookupTables, AMissingFieldEndsTheBlockWithTheEnginesError) {
  archive_gen::TableSpec without_aliquota = TabellaIVA();
  without_aliquota.columns.pop_back();
  ArchiveOfTest archive({Table(without_aliquota).row({{"idTabIva", L(1)}, {"Descrizione", T(u"IVA")}})});
  ExportHarness harness(archive.path());
  try {
    ExportTabellaIVA(harness);
    FAIL() << "a missing field must raise";
  } catch (const archive::ArchiveError& e) {
    EXPECT_EQ(e.number(), 3265);
  }
}

}  // namespace
}  // namespace tarvik::test::master
