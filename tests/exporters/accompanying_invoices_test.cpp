// The accompanying invoice headers: 36 lines per invoice in the block's own order, the payment
// condition through the condition-code list, and only the invoices of an existing customer.
#include <gtest/gtest.h>

#include "exporters/exporters.h"
#include "named_table.h"
#include "stage_run.h"

namespace tarvik::test {
namespace {

TestTable testata_fatt_acc(const std::vector<NamedRow>& rows) {
  return named_table("TestataFattAcc",
                     in_name_order({{"idDocumento", FieldType::Long},
                                    {"idCliFor", FieldType::Long},
                                    {"idDestinazione", FieldType::Long},
                                    {"Numero", FieldType::Long},
                                    {"Anno", FieldType::Integer},
                                    {"Data", FieldType::DateTime},
                                    {"Sconto", FieldType::Single},
                                    {"ImportoVoci", FieldType::Currency},
                                    {"ImportoTotale", FieldType::Currency},
                                    {"idCondPag", FieldType::Long},
                                    {"BancaAppoggio", FieldType::Text},
                                    {"BancaAppoggio2", FieldType::Text},
                                    {"SpeseTrasporto", FieldType::Currency},
                                    {"SpeseBanca", FieldType::Currency},
                                    {"SpeseBolli", FieldType::Currency},
                                    {"ImportoIVA", FieldType::Currency},
                                    {"PercRitAcconto", FieldType::Single},
                                    {"ImportoRitAcc", FieldType::Currency},
                                    {"Stampato", FieldType::Boolean},
                                    {"UltimaModifica", FieldType::DateTime},
                                    {"Causale", FieldType::Text},
                                    {"AspBeni", FieldType::Text},
                                    {"Peso", FieldType::Double},
                                    {"NColli", FieldType::Integer},
                                    {"DataPart", FieldType::DateTime},
                                    {"OraPart", FieldType::DateTime},
                                    {"ACura", FieldType::Text, 20},
                                    {"idVettore1", FieldType::Long},
                                    {"Porto", FieldType::Text, 20},
                                    {"Note1", FieldType::Text, 255},
                                    {"Note2", FieldType::Text, 255},
                                    {"DescrizioneEstesa", FieldType::Memo},
                                    {"ScontoAbituale", FieldType::Single},
                                    {"PrezziUnitariIVACompresa", FieldType::Boolean},
                                    {"ABI", FieldType::Text, 5},
                                    {"CAB", FieldType::Text, 5}}),
                     {"idDocumento"}, rows);
}

TEST(AccompanyingInvoiceHeaders, WritesTheThirtySixFieldsOfInvoicesWithAnExistingCustomer) {
  const StageOutput out = run_stage(
      {clifor_table({41, 42}),
       testata_fatt_acc({
           {{"idDocumento", L(51)},
            {"idCliFor", L(41)},
            {"idDestinazione", L(42)},
            {"Numero", L(9)},
            {"Anno", I16(2002)},
            {"Data", Date(2002, 2, 28)},
            {"Sconto", Sgl(1.25f)},
            {"ImportoVoci", Money(50)},
            {"ImportoTotale", Money(61)},
            {"idCondPag", L(1)},
            {"BancaAppoggio", T(u"Banca Tre")},
            {"BancaAppoggio2", T(u"Sede")},
            {"SpeseTrasporto", Money(8.5)},
            {"SpeseBanca", Money(0)},
            {"SpeseBolli", Money(1.29)},
            {"ImportoIVA", Money(11)},
            {"PercRitAcconto", Sgl(0)},
            {"ImportoRitAcc", Money(0)},
            {"Stampato", Bool(true)},
            {"UltimaModifica", Date(2002, 3, 1)},
            {"Causale", T(u"Conto visione")},
            {"AspBeni", T(u"Pacco")},
            {"Peso", Dbl(0.5)},
            {"NColli", I16(1)},
            {"DataPart", Date(2002, 2, 28)},
            {"OraPart", Date(1899, 12, 30, 16, 20)},
            {"ACura", T(u"Vettore")},
            {"idVettore1", L(6)},
            {"Porto", T(u"Assegnato")},
            {"Note1", T(u"riga 1\r\nriga 2\r\nriga 3")},
            {"Note2", T(u"\fpagina")},
            {"DescrizioneEstesa", T(u"Merce in conto visione")},
            {"ScontoAbituale", Sgl(2)},
            {"PrezziUnitariIVACompresa", Bool(false)},
            {"ABI", T(u"01005")},
            {"CAB", T(u"03200")}},
           {{"idDocumento", L(53)}, {"idCliFor", L(99)}, {"idDestinazione", L(41)}},
           {{"idDocumento", L(52)}, {"idCliFor", L(42)}, {"idCondPag", L(77)}},
       })},
      exporters::ExportTestataFattAcc, {1, 3});

  EXPECT_EQ(out.lines,
            block("TestataFattAcc", " 2 ",
                  {{"51",           "41",        "42",        "9",         "2002",        "2002-02-28",
                    "1.25",         "50",        "61",        "1",         "Banca Tre",   "Sede",
                    "8.5",          "0",         "1.29",      "11",        "0",           "0",
                    "T",            "2002-03-01", "Conto visione",         "Pacco",       "0.5",
                    "1",            "2002-02-28", "1899-12-30", "Vettore", "6",           "Assegnato",
                    "riga 1riga 2riga 3",        "pagina",    "Merce in conto visione",   "2",
                    "F",            "01005",     "03200"},
                   {"52", "42", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
                    "F",  "",   "", "", "", "", "", "", "", "", "", "", "", "", "", "F", "", ""}}));
  EXPECT_EQ(out.ticks, 2);
}

TEST(AccompanyingInvoiceHeaders, AnArchiveWithoutInvoicesGivesACountOfZero) {
  const StageOutput out = run_stage({clifor_table({41}), testata_fatt_acc({})}, exporters::ExportTestataFattAcc);

  EXPECT_EQ(out.lines, block("TestataFattAcc", " 0 "));
  EXPECT_EQ(out.ticks, 0);
}

}  // namespace
}  // namespace tarvik::test
