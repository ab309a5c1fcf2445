// The Magazzino block: 21 value lines per item in a fixed order, the notes raw and closed by the
// marker, every other text cleaned, every row in the archive's order.
#include <gtest/gtest.h>

#include "archive/archive_error.h"
#include "exporters/exporters.h"
#include "named_table.h"
#include "stage_run.h"

namespace tarvik::test {
namespace {

// Declared in alphabetical order, not the block's: the exporter reads fields by name.
std::vector<NamedColumn> magazzino_columns() {
  return {
      {"Barcode", FieldType::Text, 20},       {"Codice", FieldType::Text, 20},
      {"Collocazione", FieldType::Text, 20},  {"Descrizione", FieldType::Text, 80},
      {"Famiglia", FieldType::Text, 10},      {"Giacenza", FieldType::Double},
      {"idProduttore", FieldType::Long},      {"idTabIva", FieldType::Long},
      {"Note", FieldType::Memo},              {"Note2Descr", FieldType::Text, 255},
      {"PrezzoListino", FieldType::Currency}, {"PrezzoNetto", FieldType::Currency},
      {"Provvigione", FieldType::Single},     {"QConfezione", FieldType::Double},
      {"QImpegnata", FieldType::Double},      {"QRiordino", FieldType::Double},
      {"Ricar1", FieldType::Single},          {"Ricar2", FieldType::Single},
      {"Ricar3", FieldType::Single},          {"Ricar4", FieldType::Single},
      {"ScortaMinima", FieldType::Double},    {"UltimaModifica", FieldType::DateTime},
      {"UM", FieldType::Text, 5},
  };
}

TestTable magazzino(const std::vector<NamedRow>& rows) {
  return named_table("Magazzino", magazzino_columns(), {"Codice"}, rows);
}

// The 22 lines of an item whose every field but the code is null.
std::vector<std::string> bare_item(const std::string& code) {
  return {"", code, "", "", "", "", "", "", "", "", "", "", "", "", "", "", kMarkerLine, "", "", "", "", ""};
}

TEST(WarehouseItems, WritesTheFieldsInBlockOrderWithTheirEncodings) {
  const StageOutput out = run_stage(
      {magazzino({{
          {"Famiglia", T(u"ALIM")},
          {"Codice", T(u"CAF01")},
          {"Descrizione", T(u"Caff\u00E8\r\nmacinato\a\tfine")},
          {"idTabIva", L(4)},
          {"UM", T(u"kg")},
          {"Giacenza", Dbl(12.5)},
          {"QImpegnata", Dbl(-0.5)},
          {"Ricar1", Sgl(0.25f)},
          {"Ricar2", Sgl(-0.25f)},
          {"Ricar3", Sgl(30.0f)},
          {"ScortaMinima", Dbl(0.0)},
          {"QRiordino", Dbl(100.0)},
          {"QConfezione", Dbl(1.5)},
          {"Collocazione", T(u"REP1")},
          {"Note", T(u"riga uno\r\nriga due\r\nriga tre")},
          {"Note2Descr", T(u"Nota\tbreve\u00A3")},
          {"idProduttore", L(12)},
          {"PrezzoListino", Money(1234.5)},
          {"PrezzoNetto", Money(0)},
          {"Provvigione", Sgl(2.5f)},
          {"Barcode", T(u"8001234567890")},
          {"UltimaModifica", Date(2003, 5, 7, 14, 30)},
      }})},
      exporters::ExportMagazzino);

  EXPECT_EQ(out.lines, block("Magazzino", " 1 ",
                             {{"ALIM", "CAF01", "Caff\xE8macinato\tfine", "4", "kg", "12.5", "-.5", "0.25", "-.25",
                               "30", "", "0", "100", "1.5", "REP1", "riga uno", "riga due", "riga tre", kMarkerLine,
                               "Nota\tbreve\xA3", "12", "1234.5", "0", "2.5"}}));
  EXPECT_EQ(out.ticks, 1);
}

TEST(WarehouseItems, KeepsTheArchiveOrderAndGivesNullFieldsEmptyLines) {
  const StageOutput out = run_stage({magazzino({{{"Codice", T(u"ZZ9")}}, {{"Codice", T(u"AA1")}}})},
                                    exporters::ExportMagazzino);

  EXPECT_EQ(out.lines, block("Magazzino", " 2 ", {bare_item("ZZ9"), bare_item("AA1")}));
  EXPECT_EQ(out.ticks, 2);
}

TEST(WarehouseItems, WritesTheNotesExactlyAsStored) {
  // A note ending in a line break leaves an empty physical line before the marker; other
  // control characters stay, since the note is not cleaned.
  const StageOutput out = run_stage(
      {magazzino({{{"Codice", T(u"N1")}, {"Note", T(u"fine riga\r\n")}},
                  {{"Codice", T(u"N2")}, {"Note", T(u"a\nb\x07")}},
                  {{"Codice", T(u"N3")}, {"Note", T(u"")}}})},
      exporters::ExportMagazzino);

  ASSERT_EQ(out.lines.size(), 2u + 23 + 22 + 22);
  const std::vector<std::string> first_notes(out.lines.begin() + 17, out.lines.begin() + 20);
  EXPECT_EQ(first_notes, (std::vector<std::string>{"fine riga", "", kMarkerLine}));
  const std::size_t second = 2 + 23;
  EXPECT_EQ(out.lines[second + 1], "N2");
  EXPECT_EQ(out.lines[second + 15], "a\nb\x07");
  EXPECT_EQ(out.lines[second + 16], kMarkerLine);
  const std::size_t third = second + 22;
  EXPECT_EQ(out.lines[third + 15], "");
  EXPECT_EQ(out.lines[third + 16], kMarkerLine);
}

TEST(WarehouseItems, AnEmptyTableGivesTheNameAndACountOfZero) {
  const StageOutput out = run_stage({magazzino({})}, exporters::ExportMagazzino);

  EXPECT_EQ(out.lines, block("Magazzino", " 0 "));
  EXPECT_EQ(out.ticks, 0);
}

TEST(WarehouseItems, AMissingColumnIsAnArchiveError) {
  std::vector<NamedColumn> columns = magazzino_columns();
  std::erase_if(columns, [](const NamedColumn& c) { return c.name == "Provvigione"; });
  TestTable table = named_table("Magazzino", columns, {"Codice"}, {{{"Codice", T(u"X")}}});

  try {
    run_stage({table}, exporters::ExportMagazzino);
    FAIL() << "the export went through without the Provvigione column";
  } catch (const archive::ArchiveError& error) {
    EXPECT_EQ(error.number(), 3265);
  }
}

}  // namespace
}  // namespace tarvik::test
