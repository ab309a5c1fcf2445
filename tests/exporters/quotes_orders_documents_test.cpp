// The headers of customer orders, quotes, general documents and supplier orders: each kind's
// field list in its own order, the payment condition through the condition-code list, and only
// the documents of an existing customer or supplier.
#include <gtest/gtest.h>

#include "exporters/exporters.h"
#include "named_table.h"
#include "stage_run.h"

namespace tarvik::test {
namespace {

// The columns of lines 1 to 14, which the four kinds share.
std::vector<NamedColumn> head_columns() {
  return {{"idDocumento", FieldType::Long},      {"idCliFor", FieldType::Long},
          {"Numero", FieldType::Long},           {"Anno", FieldType::Integer},
          {"Data", FieldType::DateTime},         {"Sconto", FieldType::Single},
          {"ImportoVoci", FieldType::Currency},  {"ImportoTotale", FieldType::Currency},
          {"idCondPag", FieldType::Long},        {"BancaAppoggio", FieldType::Text},
          {"BancaAppoggio2", FieldType::Text},   {"ImportoIVA", FieldType::Currency},
          {"Stampato", FieldType::Boolean},      {"UltimaModifica", FieldType::DateTime}};
}

TestTable header_table(const std::string& name, const std::vector<NamedColumn>& own_columns,
                       const std::vector<NamedRow>& rows) {
  std::vector<NamedColumn> columns = head_columns();
  columns.insert(columns.end(), own_columns.begin(), own_columns.end());
  return named_table(name, in_name_order(columns), {"idDocumento"}, rows);
}

const std::vector<NamedColumn> kOrdCliColumns = {
    {"idFattura", FieldType::Long},   {"ConsegnaPrevista", FieldType::DateTime},
    {"ValiditaOfferta", FieldType::Text}, {"Note1", FieldType::Text, 255},
    {"Note2", FieldType::Text, 255},  {"Note3", FieldType::Text, 255},
    {"StampaNote", FieldType::Boolean}, {"DescrizioneEstesa", FieldType::Memo},
    {"idBolla", FieldType::Long},     {"PrezziUnitariIVACompresa", FieldType::Boolean},
    {"Evaso", FieldType::Boolean},    {"DataEvasione", FieldType::DateTime},
    {"IgnoraBolleFatture", FieldType::Boolean}, {"Impegnato", FieldType::Boolean}};

const std::vector<NamedColumn> kPreventiviColumns = {
    {"idFattura", FieldType::Long},   {"ConsegnaPrevista", FieldType::DateTime},
    {"ValiditaOfferta", FieldType::Text}, {"Note1", FieldType::Text, 255},
    {"Note2", FieldType::Text, 255},  {"Note3", FieldType::Text, 255},
    {"StampaNote", FieldType::Boolean}, {"DescrizioneEstesa", FieldType::Memo},
    {"idBolla", FieldType::Long},     {"PrezziUnitariIVACompresa", FieldType::Boolean},
    {"idOrdCli", FieldType::Long}};

const std::vector<NamedColumn> kDocGen1Columns = {
    {"idFattura", FieldType::Long},   {"ConsegnaPrevista", FieldType::DateTime},
    {"ValiditaOfferta", FieldType::Text}, {"Note1", FieldType::Text, 255},
    {"Note2", FieldType::Text, 255},  {"Note3", FieldType::Text, 255},
    {"StampaNote", FieldType::Boolean}, {"DescrizioneEstesa", FieldType::Memo},
    {"idBolla", FieldType::Long},     {"PrezziUnitariIVACompresa", FieldType::Boolean},
    {"Scaricato", FieldType::Boolean}};

const std::vector<NamedColumn> kOrdFornColumns = {
    {"Note1", FieldType::Text, 255},  {"Note2", FieldType::Text, 255},
    {"Note3", FieldType::Text, 255},  {"StampaNote", FieldType::Boolean},
    {"DescrizioneEstesa", FieldType::Memo}, {"Caricato", FieldType::Boolean},
    {"PrezziUnitariIVACompresa", FieldType::Boolean}};

// A document with every shared field set; condition 3 is the one the CondPag block carried.
NamedRow full_head() {
  return {{"idDocumento", L(11)},
          {"idCliFor", L(41)},
          {"Numero", L(15)},
          {"Anno", I16(2004)},
          {"Data", Date(2004, 3, 2)},
          {"Sconto", Sgl(5)},
          {"ImportoVoci", Money(100.5)},
          {"ImportoTotale", Money(122.61)},
          {"idCondPag", L(3)},
          {"BancaAppoggio", T(u"Banca Uno")},
          {"BancaAppoggio2", T(u"Filiale Centro")},
          {"ImportoIVA", Money(22.11)},
          {"Stampato", Bool(true)},
          {"UltimaModifica", Date(2004, 3, 2, 9, 15)}};
}
const std::vector<std::string> kFullHeadLines = {
    "11", "41", "15", "2004", "2004-03-02", "5", "100.5", "122.61", "3", "Banca Uno", "Filiale Centro", "22.11",
    "T",  "2004-03-02"};

// A document with a payment condition the CondPag block did not carry, and nothing else set.
NamedRow bare_head() { return {{"idDocumento", L(12)}, {"idCliFor", L(42)}, {"idCondPag", L(77)}}; }
const std::vector<std::string> kBareHeadLines = {"12", "42", "", "", "", "", "", "", "", "", "", "", "F", ""};

// A document whose customer is not in CliFor: neither written nor counted.
NamedRow orphan_head() { return {{"idDocumento", L(13)}, {"idCliFor", L(99)}, {"idCondPag", L(3)}}; }

const exporters::ConditionCodeList kExportedConditions = {1, 3};

TEST(DocumentHeaders, CustomerOrders) {
  const TestTable table = header_table("TestataOrdCli", kOrdCliColumns,
                                       {with(full_head(), {{"idFattura", L(501)},
                                                           {"ConsegnaPrevista", Date(2004, 3, 20)},
                                                           {"ValiditaOfferta", T(u"30 giorni")},
                                                           {"Note1", T(u"prima\r\nseconda")},
                                                           {"Note2", T(u"n2")},
                                                           {"Note3", T(u"n3")},
                                                           {"StampaNote", Bool(true)},
                                                           {"DescrizioneEstesa", T(u"Descrizione\r\nlunga")},
                                                           {"idBolla", L(601)},
                                                           {"PrezziUnitariIVACompresa", Bool(false)},
                                                           {"Evaso", Bool(true)},
                                                           {"DataEvasione", Date(2004, 4, 1)},
                                                           {"IgnoraBolleFatture", Bool(false)},
                                                           {"Impegnato", Bool(true)}}),
                                        orphan_head(), bare_head()});
  const StageOutput out = run_stage({clifor_table({41, 42}), table}, exporters::ExportTestataOrdCli,
                                    kExportedConditions);

  EXPECT_EQ(out.lines,
            block("TestataOrdCli", " 2 ",
                  {concat(kFullHeadLines, {"501", "2004-03-20", "30 giorni", "primaseconda", "n2", "n3", "T",
                                           "Descrizionelunga", "601", "F", "T", "2004-04-01", "F", "T"}),
                   concat(kBareHeadLines, {"", "", "", "", "", "", "F", "", "", "F", "F", "", "F", "F"})}));
  EXPECT_EQ(out.ticks, 2);
}

TEST(DocumentHeaders, Quotes) {
  const TestTable table = header_table("TestataPreventivi", kPreventiviColumns,
                                       {with(full_head(), {{"idFattura", L(501)},
                                                           {"ConsegnaPrevista", Date(2004, 3, 20)},
                                                           {"ValiditaOfferta", T(u"60 giorni")},
                                                           {"Note1", T(u"uno")},
                                                           {"Note2", T(u"due\r\n")},
                                                           {"Note3", T(u"tre")},
                                                           {"StampaNote", Bool(false)},
                                                           {"DescrizioneEstesa", T(u"Offerta")},
                                                           {"idBolla", L(601)},
                                                           {"PrezziUnitariIVACompresa", Bool(true)},
                                                           {"idOrdCli", L(701)}}),
                                        bare_head(), orphan_head()});
  const StageOutput out = run_stage({clifor_table({41, 42}), table}, exporters::ExportTestataPreventivi,
                                    kExportedConditions);

  EXPECT_EQ(out.lines, block("TestataPreventivi", " 2 ",
                             {concat(kFullHeadLines, {"501", "2004-03-20", "60 giorni", "uno", "due", "tre", "F",
                                                      "Offerta", "601", "T", "701"}),
                              concat(kBareHeadLines, {"", "", "", "", "", "", "F", "", "", "F", ""})}));
}

TEST(DocumentHeaders, GeneralDocumentsEndWithScaricatoWhereQuotesHaveTheOrder) {
  const TestTable table = header_table("TestataDocGen1", kDocGen1Columns,
                                       {orphan_head(),
                                        with(full_head(), {{"idFattura", L(502)},
                                                           {"ConsegnaPrevista", Date(2005, 12, 31)},
                                                           {"ValiditaOfferta", T(u"breve")},
                                                           {"Note1", T(u"a")},
                                                           {"Note2", T(u"b")},
                                                           {"Note3", T(u"c\td")},
                                                           {"StampaNote", Bool(true)},
                                                           {"DescrizioneEstesa", T(u"Generico")},
                                                           {"idBolla", L(602)},
                                                           {"PrezziUnitariIVACompresa", Bool(false)},
                                                           {"Scaricato", Bool(true)}}),
                                        bare_head()});
  const StageOutput out = run_stage({clifor_table({41, 42}), table}, exporters::ExportTestataDocGen1,
                                    kExportedConditions);

  EXPECT_EQ(out.lines, block("TestataDocGen1", " 2 ",
                             {concat(kFullHeadLines, {"502", "2005-12-31", "breve", "a", "b", "c\td", "T",
                                                      "Generico", "602", "F", "T"}),
                              concat(kBareHeadLines, {"", "", "", "", "", "", "F", "", "", "F", "F"})}));
}

TEST(DocumentHeaders, SupplierOrdersPutCaricatoBeforeTheVatFlag) {
  const TestTable table = header_table("TestataOrdForn", kOrdFornColumns,
                                       {with(full_head(), {{"Note1", T(u"x")},
                                                           {"Note2", T(u"y")},
                                                           {"Note3", T(u"z")},
                                                           {"StampaNote", Bool(false)},
                                                           {"DescrizioneEstesa", T(u"Fornitura\r\nannuale")},
                                                           {"Caricato", Bool(true)},
                                                           {"PrezziUnitariIVACompresa", Bool(false)}}),
                                        bare_head(), orphan_head()});
  const StageOutput out = run_stage({clifor_table({41, 42}), table}, exporters::ExportTestataOrdForn,
                                    kExportedConditions);

  EXPECT_EQ(out.lines,
            block("TestataOrdForn", " 2 ",
                  {concat(kFullHeadLines, {"x", "y", "z", "F", "Fornituraannuale", "T", "F"}),
                   concat(kBareHeadLines, {"", "", "", "F", "", "F", "F"})}));
}

TEST(DocumentHeaders, ANullPaymentConditionStaysEmpty) {
  const TestTable table = header_table("TestataOrdForn", kOrdFornColumns,
                                       {{{"idDocumento", L(1)}, {"idCliFor", L(41)}},
                                        {{"idDocumento", L(2)}, {"idCliFor", L(41)}, {"idCondPag", L(1)}}});
  const StageOutput out = run_stage({clifor_table({41}), table}, exporters::ExportTestataOrdForn,
                                    kExportedConditions);

  ASSERT_EQ(out.lines.size(), 2u + 2 * 21);
  EXPECT_EQ(out.lines[2 + 8], "");
  EXPECT_EQ(out.lines[2 + 21 + 8], "1");
}

TEST(DocumentHeaders, AKindWithoutDocumentsGivesACountOfZero) {
  const StageOutput out =
      run_stage({clifor_table({41}), header_table("TestataPreventivi", kPreventiviColumns, {orphan_head()})},
                exporters::ExportTestataPreventivi, kExportedConditions);

  EXPECT_EQ(out.lines, block("TestataPreventivi", " 0 "));
  EXPECT_EQ(out.ticks, 0);
}

}  // namespace
}  // namespace tarvik::test
