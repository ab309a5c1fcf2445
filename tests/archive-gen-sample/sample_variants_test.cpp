// Each variant carries exactly the defect that one archive check refuses.
#include <gtest/gtest.h>

#include <map>

#include "recorded_sample.h"

namespace tarvik::archive_gen::sample::testing {
namespace {

using archive::Value;

SampleOptions variant(bool outdated, bool duplicates, bool destinations) {
  SampleOptions options;
  options.outdated = outdated;
  options.duplicate_suppliers = duplicates;
  options.missing_destination = destinations;
  return options;
}

TEST(SampleVariants, OutdatedArchiveLacksNoteInBollaOnly) {
  const RecordedSample outdated(variant(true, false, false));
  const RecordedSample current(variant(false, false, false));
  EXPECT_LT(outdated.column("CliFor", "NoteInBolla"), 0);
  EXPECT_EQ(outdated.schema().tables[outdated.schema().table_index("CliFor")].columns.size() + 1,
            current.schema().tables[current.schema().table_index("CliFor")].columns.size());
  // The rest of the archive, rows included, is the current one.
  EXPECT_EQ(outdated.rows("CliFor").size(), current.rows("CliFor").size());
  EXPECT_EQ(outdated.rows("TestataFatture"), current.rows("TestataFatture"));
}

// The rows of "select CodiceArticolo, idCliFor, count(CodiceArticolo) from LinkMagazzinoFornitori
// group by CodiceArticolo, idCliFor having count(CodiceArticolo) > 1", by item code.
std::map<std::u16string, int> duplicated_pairs_per_item(const RecordedSample& s) {
  const int item = s.column("LinkMagazzinoFornitori", "CodiceArticolo");
  const int supplier = s.column("LinkMagazzinoFornitori", "idCliFor");
  std::map<std::pair<std::u16string, std::int64_t>, int> groups;
  for (const Row& row : s.rows("LinkMagazzinoFornitori")) {
    const Value& code = row[static_cast<std::size_t>(item)];
    const Value& id = row[static_cast<std::size_t>(supplier)];
    if (code.is_null()) continue;
    ++groups[{code.as_text(), id.is_null() ? INT64_MIN : id.as_long()}];
  }
  std::map<std::u16string, int> listed;
  for (const auto& [group, count] : groups) {
    if (count > 1) ++listed[group.first];
  }
  return listed;
}

TEST(SampleVariants, DuplicateSuppliersListsOneItemTwiceAndOneOnce) {
  const RecordedSample clean(variant(false, false, false));
  EXPECT_TRUE(duplicated_pairs_per_item(clean).empty());

  const RecordedSample s(variant(false, true, false));
  const auto listed = duplicated_pairs_per_item(s);
  ASSERT_EQ(listed.size(), 2u);
  // One item has each of its two suppliers twice, the other its supplier three times.
  std::multiset<int> lines;
  for (const auto& [code, count] : listed) lines.insert(count);
  EXPECT_EQ(lines, (std::multiset<int>{1, 2}));
  const auto items = s.text_set("Magazzino", "Codice");
  for (const auto& [code, count] : listed) EXPECT_TRUE(items.count(code));
}

TEST(SampleVariants, MissingDestinationAddsInvoicesWithoutAnExistingDestination) {
  const RecordedSample s(variant(false, false, true));
  const auto clifor = s.long_set("CliFor", "idCliFor");
  const int destination = s.column("TestataFattAcc", "idDestinazione");
  const int number = s.column("TestataFattAcc", "Numero");
  const int date = s.column("TestataFattAcc", "Data");
  std::vector<std::int32_t> listed;
  bool null_destination = false;
  for (const Row& row : s.rows("TestataFattAcc")) {
    const Value& d = row[static_cast<std::size_t>(destination)];
    if (!d.is_null() && clifor.count(d.as_long())) continue;
    null_destination |= d.is_null();
    // The check turns Numero and Data into text: neither may be null on a listed invoice.
    ASSERT_FALSE(row[static_cast<std::size_t>(number)].is_null());
    ASSERT_FALSE(row[static_cast<std::size_t>(date)].is_null());
    listed.push_back(row[static_cast<std::size_t>(number)].as_long());
  }
  EXPECT_EQ(listed, (std::vector<std::int32_t>{15, 16}));
  EXPECT_TRUE(null_destination);
}

TEST(SampleVariants, VariantsCombine) {
  const RecordedSample s(variant(true, true, true));
  EXPECT_LT(s.column("CliFor", "NoteInBolla"), 0);
  EXPECT_EQ(duplicated_pairs_per_item(s).size(), 2u);
}

}  // namespace
}  // namespace tarvik::archive_gen::sample::testing
