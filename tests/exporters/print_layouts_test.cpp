// The custom print layouts: the layout items sorted by kind, part and order number, less the four
// excluded entries, with a count line that says how many items follow; and the row areas.
#include <gtest/gtest.h>

#include <optional>

#include "exporters/exporters.h"
#include "named_table.h"
#include "stage_run.h"

namespace tarvik::test {
namespace {

TestTable layout_items(const std::vector<NamedRow>& rows) {
  return named_table("StampaPersonalizzata",
                     {{"Y2", FieldType::Integer},
                      {"Y", FieldType::Integer},
                      {"X2", FieldType::Integer},
                      {"X", FieldType::Integer},
                      {"TipoDocumento", FieldType::Text, 2},
                      {"TestataRighe", FieldType::Text, 1},
                      {"NumeroOrdine", FieldType::Integer},
                      {"Numerico", FieldType::Boolean},
                      {"Lung2", FieldType::Integer},
                      {"Lung", FieldType::Integer},
                      {"InUso2", FieldType::Boolean},
                      {"InUso", FieldType::Boolean},
                      {"InizioFine2", FieldType::Integer},
                      {"InizioFine", FieldType::Integer},
                      {"idStampaPersonalizzata", FieldType::Long},
                      {"Descrizione", FieldType::Text, 50}},
                     {"idStampaPersonalizzata"}, rows);
}

// A layout item with only its key fields and a description set.
NamedRow item(std::int32_t id, std::u16string kind, std::u16string part, std::optional<std::int16_t> order,
              std::u16string description) {
  NamedRow row = {{"idStampaPersonalizzata", L(id)},
                  {"TipoDocumento", T(std::move(kind))},
                  {"TestataRighe", T(std::move(part))},
                  {"Descrizione", T(std::move(description))}};
  if (order) row["NumeroOrdine"] = I16(*order);
  return row;
}

// Its 15 lines.
std::vector<std::string> item_lines(std::string kind, std::string part, std::string order, std::string description) {
  return {kind, part, order, description, "", "", "", "", "F", "F", "", "", "", "", "F"};
}

TEST(PrintLayoutItems, WritesTheFifteenFieldsInBlockOrder) {
  const StageOutput out = run_stage(
      {layout_items({{
          {"idStampaPersonalizzata", L(1)},
          {"TipoDocumento", T(u"OC")},
          {"TestataRighe", T(u"T")},
          {"NumeroOrdine", I16(7)},
          {"Descrizione", T(u"Ragione\r\nsociale")},
          {"X", I16(10)},
          {"Y", I16(20)},
          {"X2", I16(30)},
          {"Y2", I16(40)},
          {"InUso", Bool(true)},
          {"InUso2", Bool(false)},
          {"InizioFine", I16(1)},
          {"InizioFine2", I16(2)},
          {"Lung", I16(35)},
          {"Lung2", I16(-36)},
          {"Numerico", Bool(true)},
      }})},
      exporters::ExportStampaPersonalizzata);

  EXPECT_EQ(out.lines, block("StampaPersonalizzata", " 1 ",
                             {{"OC", "T", "7", "Ragionesociale", "10", "20", "30", "40", "T", "F", "1", "2", "35",
                               "-36", "T"}}));
}

TEST(PrintLayoutItems, LeavesOutTheFourEntriesAndCountsTheItemsWritten) {
  const StageOutput out = run_stage({layout_items({
                                        item(1, u"FA", u"T", 5400, u"escluso"),
                                        item(2, u"FA", u"R", 10, u"fa r 10"),
                                        item(3, u"B_", u"R", 300, u"escluso"),
                                        item(4, u"FA", u"T", 300, u"fa t 300"),
                                        item(5, u"B_", u"T", 2100, u"escluso"),
                                        item(6, u"FA", u"R", 150, u"escluso"),
                                        item(7, u"B_", u"T", 100, u"b t 100"),
                                        item(8, u"OC", u"R", 1, u"oc r 1"),
                                        item(9, u"FA", u"T", 20, u"fa t 20"),
                                    })},
                                    exporters::ExportStampaPersonalizzata);

  EXPECT_EQ(out.lines, block("StampaPersonalizzata", " 5 ",
                             {item_lines("B_", "T", "100", "b t 100"), item_lines("FA", "R", "10", "fa r 10"),
                              item_lines("FA", "T", "20", "fa t 20"), item_lines("FA", "T", "300", "fa t 300"),
                              item_lines("OC", "R", "1", "oc r 1")}));
  EXPECT_EQ(out.ticks, 9);  // every item read, the excluded ones too
}

TEST(PrintLayoutItems, LeavesOutOnlyTheExactFourCombinations) {
  // Texts compare with letter case significant, order numbers by value; a null never matches.
  // The sort itself, as Jet's, ignores case and puts nulls first.
  const StageOutput out = run_stage({layout_items({
                                        item(1, u"B_", u"R", 301, u"altro numero"),
                                        item(2, u"b_", u"R", 300, u"minuscolo"),
                                        item(3, u"B_", u"T", 300, u"altra parte"),
                                        item(4, u"FA", u"r", 150, u"parte minuscola"),
                                        item(5, u"FA", u"R", std::nullopt, u"senza numero"),
                                    })},
                                    exporters::ExportStampaPersonalizzata);

  EXPECT_EQ(out.lines, block("StampaPersonalizzata", " 5 ",
                             {item_lines("b_", "R", "300", "minuscolo"), item_lines("B_", "R", "301", "altro numero"),
                              item_lines("B_", "T", "300", "altra parte"), item_lines("FA", "R", "", "senza numero"),
                              item_lines("FA", "r", "150", "parte minuscola")}));
}

TEST(PrintLayoutItems, AnEntryHeldTwiceIsLeftOutTwiceAndNotCounted) {
  const StageOutput out = run_stage({layout_items({
                                        item(1, u"FA", u"R", 150, u"escluso"),
                                        item(2, u"OC", u"T", 5, u"tenuto"),
                                        item(3, u"FA", u"R", 150, u"escluso di nuovo"),
                                    })},
                                    exporters::ExportStampaPersonalizzata);

  EXPECT_EQ(out.lines, block("StampaPersonalizzata", " 1 ", {item_lines("OC", "T", "5", "tenuto")}));
  EXPECT_EQ(out.ticks, 3);
}

TEST(PrintLayoutItems, OnlyExcludedEntriesGiveACountOfZero) {
  const StageOutput out = run_stage({layout_items({
                                        item(1, u"B_", u"R", 300, u""),
                                        item(2, u"B_", u"T", 2100, u""),
                                        item(3, u"FA", u"R", 150, u""),
                                        item(4, u"FA", u"T", 5400, u""),
                                    })},
                                    exporters::ExportStampaPersonalizzata);

  EXPECT_EQ(out.lines, block("StampaPersonalizzata", " 0 "));
  EXPECT_EQ(out.ticks, 4);
}

TEST(PrintLayoutItems, AnEmptyTableGivesACountOfZero) {
  const StageOutput out = run_stage({layout_items({})}, exporters::ExportStampaPersonalizzata);

  EXPECT_EQ(out.lines, block("StampaPersonalizzata", " 0 "));
  EXPECT_EQ(out.ticks, 0);
}

TestTable row_areas(const std::vector<NamedRow>& rows) {
  return named_table("StampaPersonalizzata2",
                     {{"FineRighe2", FieldType::Integer},
                      {"FineRighe", FieldType::Integer},
                      {"InizioRighe2", FieldType::Integer},
                      {"InizioRighe", FieldType::Integer},
                      {"TipoDocumento", FieldType::Text, 2}},
                     {"TipoDocumento"}, rows);
}

TEST(PrintLayoutRowAreas, WritesEveryKindSortedByKind) {
  const StageOutput out = run_stage(
      {row_areas({
          {{"TipoDocumento", T(u"OC")}, {"InizioRighe", I16(100)}, {"InizioRighe2", I16(110)},
           {"FineRighe", I16(900)}, {"FineRighe2", I16(910)}},
          {{"TipoDocumento", T(u"B_")}, {"InizioRighe", I16(1)}},
          {{"TipoDocumento", T(u"FA")}, {"InizioRighe", I16(2)}, {"InizioRighe2", I16(3)}, {"FineRighe", I16(4)},
           {"FineRighe2", I16(5)}},
      })},
      exporters::ExportStampaPersonalizzata2);

  EXPECT_EQ(out.lines, block("StampaPersonalizzata2", " 3 ",
                             {{"B_", "1", "", "", ""},
                              {"FA", "2", "3", "4", "5"},
                              {"OC", "100", "110", "900", "910"}}));
  EXPECT_EQ(out.ticks, 3);
}

TEST(PrintLayoutRowAreas, AnEmptyTableGivesACountOfZero) {
  const StageOutput out = run_stage({row_areas({})}, exporters::ExportStampaPersonalizzata2);

  EXPECT_EQ(out.lines, block("StampaPersonalizzata2", " 0 "));
}

}  // namespace
}  // namespace tarvik::test
