// The delivery note headers: 35 lines per note in the block's order, the carrier last, and only
// the notes of an existing customer or supplier.
#include <gtest/gtest.h>

#include "exporters/exporters.h"
#include "named_table.h"
#include "stage_run.h"

namespace tarvik::test {
namespace {

TestTable testata_bolle(const std::vector<NamedRow>& rows) {
  return named_table("TestataBolle",
                     in_name_order({{"idDocumento", FieldType::Long},
                                    {"idCliFor", FieldType::Long},
                                    {"idDestinazione", FieldType::Long},
                                    {"Numero", FieldType::Long},
                                    {"Anno", FieldType::Integer},
                                    {"Data", FieldType::DateTime},
                                    {"Stampato", FieldType::Boolean},
                                    {"Causale", FieldType::Text},
                                    {"AspBeni", FieldType::Text},
                                    {"Peso", FieldType::Double},
                                    {"NColli", FieldType::Integer},
                                    {"DataPart", FieldType::DateTime},
                                    {"OraPart", FieldType::DateTime},
                                    {"ACura", FieldType::Text, 20},
                                    {"idFattura", FieldType::Long},
                                    {"UltimaModifica", FieldType::DateTime},
                                    {"Porto", FieldType::Text, 20},
                                    {"Note1", FieldType::Text, 255},
                                    {"Note2", FieldType::Text, 255},
                                    {"DescrizioneEstesa", FieldType::Memo},
                                    {"DestinazioneInBolla", FieldType::Boolean},
                                    {"DDT_RagioneSociale1", FieldType::Text},
                                    {"DDT_RagioneSociale2", FieldType::Text},
                                    {"DDT_Indirizzo", FieldType::Text},
                                    {"DDT_Indirizzo2", FieldType::Text},
                                    {"DDT_CAP", FieldType::Text, 5},
                                    {"DDT_Citta", FieldType::Text},
                                    {"DDT_Provincia", FieldType::Text, 2},
                                    {"LetteraDopoNumero", FieldType::Text, 2},
                                    {"FatturareDDT", FieldType::Boolean},
                                    {"UMPeso", FieldType::Text, 5},
                                    {"PrezziUnitariIVACompresa", FieldType::Boolean},
                                    {"idFattAcc", FieldType::Long},
                                    {"StampaPrezzi", FieldType::Boolean},
                                    {"idVettore1", FieldType::Long}}),
                     {"idDocumento"}, rows);
}

TEST(DeliveryNoteHeaders, WritesTheThirtyFiveFieldsOfNotesWithAnExistingCustomer) {
  const StageOutput out = run_stage(
      {clifor_table({41, 42}),
       testata_bolle({
           {{"idDocumento", L(23)}, {"idCliFor", L(99)}},
           {{"idDocumento", L(21)},
            {"idCliFor", L(41)},
            {"idDestinazione", L(42)},
            {"Numero", L(7)},
            {"Anno", I16(2003)},
            {"Data", Date(2003, 11, 4)},
            {"Stampato", Bool(true)},
            {"Causale", T(u"Vendita")},
            {"AspBeni", T(u"Scatole")},
            {"Peso", Dbl(12.75)},
            {"NColli", I16(3)},
            {"DataPart", Date(2003, 11, 5)},
            {"OraPart", Date(1899, 12, 30, 8, 45)},
            {"ACura", T(u"Mittente")},
            {"idFattura", L(801)},
            {"UltimaModifica", Date(2003, 11, 4, 18, 0)},
            {"Porto", T(u"Franco")},
            {"Note1", T(u"fragile\r\nalto")},
            {"Note2", T(u"n2")},
            {"DescrizioneEstesa", T(u"Consegna\r\nal piano")},
            {"DestinazioneInBolla", Bool(true)},
            {"DDT_RagioneSociale1", T(u"Magazzino Nord")},
            {"DDT_RagioneSociale2", T(u"Reparto B")},
            {"DDT_Indirizzo", T(u"Via Roma 1")},
            {"DDT_Indirizzo2", T(u"Scala C")},
            {"DDT_CAP", T(u"20100")},
            {"DDT_Citta", T(u"Milano")},
            {"DDT_Provincia", T(u"MI")},
            {"LetteraDopoNumero", T(u"A")},
            {"FatturareDDT", Bool(false)},
            {"UMPeso", T(u"kg")},
            {"PrezziUnitariIVACompresa", Bool(true)},
            {"idFattAcc", L(901)},
            {"StampaPrezzi", Bool(true)},
            {"idVettore1", L(5)}},
           {{"idDocumento", L(24)}},
           {{"idDocumento", L(22)}, {"idCliFor", L(42)}},
       })},
      exporters::ExportTestataBolle);

  EXPECT_EQ(out.lines,
            block("TestataBolle", " 2 ",
                  {{"21",         "41",         "42",          "7",          "2003",       "2003-11-04",
                    "T",          "Vendita",    "Scatole",     "12.75",      "3",          "2003-11-05",
                    "1899-12-30", "Mittente",   "801",         "2003-11-04", "Franco",     "fragilealto",
                    "n2",         "Consegnaal piano",          "T",          "Magazzino Nord",
                    "Reparto B",  "Via Roma 1", "Scala C",     "20100",      "Milano",     "MI",
                    "A",          "F",          "kg",          "T",          "901",        "T",
                    "5"},
                   {"22", "42", "", "", "", "", "F", "", "", "", "", "", "", "", "", "", "", "", "",
                    "",   "F",  "", "", "", "", "", "", "", "", "F", "", "F", "", "F", ""}}));
  EXPECT_EQ(out.ticks, 2);
}

TEST(DeliveryNoteHeaders, AnArchiveWithoutNotesGivesACountOfZero) {
  const StageOutput out = run_stage({clifor_table({41}), testata_bolle({})}, exporters::ExportTestataBolle);

  EXPECT_EQ(out.lines, block("TestataBolle", " 0 "));
  EXPECT_EQ(out.ticks, 0);
}

}  // namespace
}  // namespace tarvik::test
