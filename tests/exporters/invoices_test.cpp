// The invoice headers: 29 lines per invoice in the block's order, the payment condition through
// the condition-code list, and only the invoices of an existing customer or supplier.
#include <gtest/gtest.h>

#include "exporters/exporters.h"
#include "named_table.h"
#include "stage_run.h"

namespace tarvik::test {
namespace {

TestTable testata_fatture(const std::vector<NamedRow>& rows) {
  return named_table("TestataFatture",
                     in_name_order({{"idDocumento", FieldType::Long},
                                    {"TipoDocumento", FieldType::Text, 2},
                                    {"idCliFor", FieldType::Long},
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
                                    {"DescrizioneEstesa", FieldType::Memo},
                                    {"ABI", FieldType::Text, 5},
                                    {"CAB", FieldType::Text, 5},
                                    {"LetteraDopoNumero", FieldType::Text, 2},
                                    {"ScontoAbituale", FieldType::Single},
                                    {"PrezziUnitariIVACompresa", FieldType::Boolean},
                                    {"idAgente", FieldType::Long},
                                    {"UsaRitenutaAcconto", FieldType::Boolean},
                                    {"GestirePrezziTotali", FieldType::Boolean}}),
                     {"idDocumento"}, rows);
}

TEST(InvoiceHeaders, WritesTheTwentyNineFieldsOfInvoicesWithAnExistingCustomer) {
  const StageOutput out = run_stage(
      {clifor_table({41, 42}),
       testata_fatture({
           {{"idDocumento", L(32)}, {"idCliFor", L(42)}, {"idCondPag", L(77)}},
           {{"idDocumento", L(33)}, {"idCliFor", L(99)}, {"idCondPag", L(3)}},
           {{"idDocumento", L(31)},
            {"TipoDocumento", T(u"FA")},
            {"idCliFor", L(41)},
            {"Numero", L(120)},
            {"Anno", I16(2004)},
            {"Data", Date(2004, 6, 30)},
            {"Sconto", Sgl(-2.5f)},
            {"ImportoVoci", Money(1000)},
            {"ImportoTotale", Money(1210.4)},
            {"idCondPag", L(3)},
            {"BancaAppoggio", T(u"Banca Due")},
            {"BancaAppoggio2", T(u"Agenzia 4")},
            {"SpeseTrasporto", Money(15)},
            {"SpeseBanca", Money(1.5)},
            {"SpeseBolli", Money(1.81)},
            {"ImportoIVA", Money(193.9)},
            {"PercRitAcconto", Sgl(20)},
            {"ImportoRitAcc", Money(-0.5)},
            {"Stampato", Bool(false)},
            {"UltimaModifica", Date(2004, 7, 1, 10, 0)},
            {"DescrizioneEstesa", T(u"Fattura\r\nriepilogativa")},
            {"ABI", T(u"03069")},
            {"CAB", T(u"09606")},
            {"LetteraDopoNumero", T(u"B")},
            {"ScontoAbituale", Sgl(3)},
            {"PrezziUnitariIVACompresa", Bool(true)},
            {"idAgente", L(555)},
            {"UsaRitenutaAcconto", Bool(true)},
            {"GestirePrezziTotali", Bool(false)}},
           {{"idDocumento", L(34)}, {"TipoDocumento", T(u"NC")}},
       })},
      exporters::ExportTestataFatture, {1, 3});

  EXPECT_EQ(out.lines,
            block("TestataFatture", " 2 ",
                  {{"32", "", "42", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "F",
                    "",   "", "",   "", "", "", "F", "", "F", "F"},
                   {"31",         "FA",        "41",        "120",        "2004",  "2004-06-30",
                    "-2.5",       "1000",      "1210.4",    "3",          "Banca Due",
                    "Agenzia 4",  "15",        "1.5",       "1.81",       "193.9", "20",
                    "-.5",        "F",         "2004-07-01", "Fatturariepilogativa",
                    "03069",      "09606",     "B",         "3",          "T",     "555",
                    "T",          "F"}}));
  EXPECT_EQ(out.ticks, 2);
}

TEST(InvoiceHeaders, AnArchiveWithoutInvoicesGivesACountOfZero) {
  const StageOutput out = run_stage({clifor_table({41}), testata_fatture({})}, exporters::ExportTestataFatture);

  EXPECT_EQ(out.lines, block("TestataFatture", " 0 "));
  EXPECT_EQ(out.ticks, 0);
}

}  // namespace
}  // namespace tarvik::test
