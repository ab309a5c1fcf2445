// The default sample archive holds what an export must cope with: records that joins drop,
// journal entries whose invoice is gone, the four fixed layout entries, awkward texts and nulls,
// and yet passes the three archive checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "recorded_sample.h"

namespace tarvik::archive_gen::sample::testing {
namespace {

using archive::Value;
using archive::ValueKind;

const RecordedSample& default_sample() {
  static const RecordedSample sample(SampleOptions{});
  return sample;
}

TEST(SampleContent, EveryTableHasRowsAndTheReportedCounts) {
  const RecordedSample& s = default_sample();
  ASSERT_EQ(s.counts().size(), s.schema().tables.size());
  std::uint64_t total = 0;
  for (const TableRowCount& count : s.counts()) {
    EXPECT_GT(count.rows, 0u) << count.table;
    EXPECT_EQ(count.rows, s.rows(count.table).size()) << count.table;
    total += count.rows;
  }
  // Small enough for a demo, large enough to span many data pages.
  EXPECT_GT(total, 1000u);
  EXPECT_LT(total, 20000u);
}

TEST(SampleContent, JoinsDropRowsOfDeletedRecords) {
  const RecordedSample& s = default_sample();
  const auto clifor = s.long_set("CliFor", "idCliFor");
  const auto items = s.text_set("Magazzino", "Codice");

  const auto moved = s.text_set("GiornaleMagazzino", "Codice");
  EXPECT_TRUE(std::any_of(moved.begin(), moved.end(), [&](const auto& c) { return !items.count(c); }));

  for (std::string_view header : {"TestataFattAcc", "TestataFatture", "TestataBolle", "TestataOrdCli",
                                  "TestataPreventivi", "TestataDocGen1", "TestataOrdForn"}) {
    const auto customers = s.values(header, "idCliFor");
    EXPECT_TRUE(std::any_of(customers.begin(), customers.end(),
                            [&](const Value& v) { return !v.is_null() && !clifor.count(v.as_long()); }))
        << header << " has no document of a deleted customer";
    const std::string rows = "Righe" + std::string(header.substr(7));
    const auto documents = s.long_set(header, "idDocumento");
    const auto owners = s.long_set(rows, "idDocumento");
    EXPECT_TRUE(std::any_of(owners.begin(), owners.end(), [&](auto id) { return !documents.count(id); }))
        << rows << " has no row of a missing document";
  }

  const auto agents = s.long_set("Agenti", "idCliFor");
  EXPECT_TRUE(std::any_of(agents.begin(), agents.end(), [&](auto id) { return !clifor.count(id); }));
  const auto named_agents = s.long_set("CliFor", "idAgente");
  EXPECT_TRUE(std::any_of(named_agents.begin(), named_agents.end(),
                          [&](auto id) { return agents.count(id) && clifor.count(id); }));
  EXPECT_TRUE(std::any_of(named_agents.begin(), named_agents.end(), [&](auto id) { return !agents.count(id); }));

  const auto journal = s.long_set("PrimanotaDocumenti", "idPrimanota");
  const auto moved_journal = s.long_set("PrimanotaMovimenti", "idPrimanota");
  EXPECT_TRUE(std::any_of(moved_journal.begin(), moved_journal.end(), [&](auto id) { return !journal.count(id); }));

  const auto link_suppliers = s.values("LinkMagazzinoFornitori", "idCliFor");
  EXPECT_TRUE(std::any_of(link_suppliers.begin(), link_suppliers.end(), [](const Value& v) { return v.is_null(); }));
  EXPECT_TRUE(std::any_of(link_suppliers.begin(), link_suppliers.end(),
                          [&](const Value& v) { return !v.is_null() && !clifor.count(v.as_long()); }));
}

TEST(SampleContent, JournalEntriesShowEveryOriginCase) {
  const RecordedSample& s = default_sample();
  const auto invoices = s.long_set("TestataFatture", "idDocumento");
  const auto accompanying = s.long_set("TestataFattAcc", "idDocumento");
  const auto clifor = s.long_set("CliFor", "idCliFor");
  const int origin = s.column("PrimanotaDocumenti", "CreatoDa");
  const int link = s.column("PrimanotaDocumenti", "idDocumento");
  const int customer = s.column("PrimanotaDocumenti", "idCliFor");
  std::map<std::string, int> cases;
  for (const Row& row : s.rows("PrimanotaDocumenti")) {
    const Value& code = row[static_cast<std::size_t>(origin)];
    const bool exported = !row[static_cast<std::size_t>(customer)].is_null() &&
                          clifor.count(row[static_cast<std::size_t>(customer)].as_long());
    if (code.is_null()) {
      // CreatoDa is read as text: a null may only sit where the join leaves the record out.
      EXPECT_FALSE(exported);
      continue;
    }
    if (!exported) continue;
    const Value& id = row[static_cast<std::size_t>(link)];
    const std::u16string& text = code.as_text();
    if (text == u"F_") ++cases[id.is_null() ? "F_ null" : invoices.count(id.as_long()) ? "F_ found" : "F_ missing"];
    else if (text == u"FA") {
      const bool in_fatture = !id.is_null() && invoices.count(id.as_long());
      ++cases[!id.is_null() && accompanying.count(id.as_long()) ? "FA found" : in_fatture ? "FA only in invoices" : "FA missing"];
    } else if (text == u"f_" || text == u"F_ " || text.starts_with(u"F_")) {
      ++cases["near miss"];
    } else {
      ++cases["other"];
    }
  }
  for (const char* c : {"F_ found", "F_ missing", "F_ null", "FA found", "FA missing", "FA only in invoices", "near miss", "other"}) {
    EXPECT_GT(cases[c], 0) << c;
  }
}

TEST(SampleContent, HoldsTheFourFixedLayoutEntriesOnceWithNearMisses) {
  const RecordedSample& s = default_sample();
  const int kind = s.column("StampaPersonalizzata", "TipoDocumento");
  const int part = s.column("StampaPersonalizzata", "TestataRighe");
  const int order = s.column("StampaPersonalizzata", "NumeroOrdine");
  std::map<std::tuple<std::u16string, std::u16string, int>, int> seen;
  int null_order = 0;
  for (const Row& row : s.rows("StampaPersonalizzata")) {
    const Value& k = row[static_cast<std::size_t>(kind)];
    const Value& p = row[static_cast<std::size_t>(part)];
    const Value& o = row[static_cast<std::size_t>(order)];
    if (o.is_null()) ++null_order;
    if (k.is_null() || p.is_null() || o.is_null()) continue;
    ++seen[{k.as_text(), p.as_text(), o.as_integer()}];
  }
  auto key = [](std::u16string k, std::u16string p, int o) { return std::make_tuple(k, p, o); };
  EXPECT_EQ(seen[key(u"B_", u"R", 300)], 1);
  EXPECT_EQ(seen[key(u"B_", u"T", 2100)], 1);
  EXPECT_EQ(seen[key(u"FA", u"R", 150)], 1);
  EXPECT_EQ(seen[key(u"FA", u"T", 5400)], 1);
  EXPECT_EQ(seen[key(u"B_", u"R", 301)], 1);
  EXPECT_EQ(seen[key(u"b_", u"R", 300)], 1);
  EXPECT_EQ(seen[key(u"B_", u"T", 300)], 1);
  EXPECT_GT(null_order, 0);
}

bool outside_windows_1252(char16_t c) {
  static constexpr std::u16string_view kHigh = u"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ";
  return c > 0xFF && kHigh.find(c) == std::u16string_view::npos;
}

TEST(SampleContent, HoldsAwkwardTexts) {
  const RecordedSample& s = default_sample();
  bool control = false, tab = false, nul = false, euro = false, accent = false, foreign = false;
  std::size_t longest_raw = 0, longest_cleaned = 0;
  bool empty_memo = false, multi_line_memo = false;
  for (const TableSpec& table : s.schema().tables) {
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      const bool memo = table.columns[c].type == archive::FieldType::Memo;
      const bool raw = memo && table.columns[c].name == "Note";
      for (const Row& row : s.rows(table.name)) {
        const Value& v = row[c];
        if (v.kind() != ValueKind::Text) continue;
        const std::u16string& t = v.as_text();
        (raw ? longest_raw : longest_cleaned) = std::max(raw ? longest_raw : longest_cleaned, t.size());
        if (memo && t.empty()) empty_memo = true;
        if (memo && t.find(u"\r\n") != std::u16string::npos) multi_line_memo = true;
        for (char16_t ch : t) {
          if (ch == u'\a' || ch == u'\f' || ch == u'\x1B') control = true;
          if (ch == u'\t') tab = true;
          if (ch == 0) nul = true;
          if (ch == u'€') euro = true;
          if (ch >= 0xC0 && ch <= 0xFF) accent = true;
          if (outside_windows_1252(ch)) foreign = true;
        }
      }
    }
  }
  EXPECT_TRUE(control && tab && nul);
  EXPECT_TRUE(euro && accent && foreign);
  EXPECT_TRUE(empty_memo && multi_line_memo);
  // Raw notes reach many long-value pages; cleaned texts stay within a cleaned line's 32 766.
  EXPECT_GT(longest_raw, 32766u);
  EXPECT_GT(longest_cleaned, 8000u);
  EXPECT_LE(longest_cleaned, 32766u);
}

TEST(SampleContent, NullsStandWhereverTheyMay) {
  const RecordedSample& s = default_sample();
  // Columns that may not be null in an archive the export takes: keys, and what the checks and
  // the payment-condition list read from every record.
  const std::set<std::string> never_null = {"CondPag.idCondPag", "TestataFattAcc.idDestinazione",
                                            "TestataFattAcc.Numero", "TestataFattAcc.Data",
                                            "StampaPersonalizzata2.TipoDocumento", "ProgrDocumenti.Anno",
                                            "ProgrDocumenti.TipoDocumento", "Magazzino.Codice",
                                            "TabellaIVA.Descrizione", "TabellaIVA.Aliquota",
                                            "TabellaContiCorrenti.Descrizione"};
  for (const TableSpec& table : s.schema().tables) {
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      const std::string name = table.name + "." + table.columns[c].name;
      const bool key = std::find(table.primary_key.begin(), table.primary_key.end(), table.columns[c].name) !=
                       table.primary_key.end();
      // A Yes/No field is never null in Jet.
      const bool boolean = table.columns[c].type == archive::FieldType::Boolean;
      if (key || boolean || never_null.count(name)) continue;
      const auto& rows = s.rows(table.name);
      EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const Row& r) { return r[c].is_null(); })) << name;
    }
  }
}

TEST(SampleContent, UsesEveryColumnTypeButGuid) {
  std::set<archive::FieldType> used;
  for (const TableSpec& table : tarvik_schema().tables) {
    for (const ColumnSpec& column : table.columns) used.insert(column.type);
  }
  using archive::FieldType;
  EXPECT_EQ(used, (std::set<FieldType>{FieldType::Boolean, FieldType::Byte, FieldType::Integer, FieldType::Long,
                                        FieldType::Single, FieldType::Double, FieldType::Currency,
                                        FieldType::DateTime, FieldType::Text, FieldType::Memo, FieldType::Ole}));
}

// The department question: a distinct location 1 or 2 characters long whose leading number
// rounds (half to even) to 1 or more.
bool department_like(const std::u16string& location) {
  if (location.empty() || location.size() > 2) return false;
  std::string ascii;
  for (char16_t c : location) ascii += static_cast<char>(c < 0x80 ? c : '?');
  return std::nearbyint(std::strtod(ascii.c_str(), nullptr)) >= 1;
}

TEST(SampleContent, PassesTheArchiveChecksAndAsksTheDepartmentQuestion) {
  const RecordedSample& s = default_sample();
  EXPECT_GE(s.column("CliFor", "NoteInBolla"), 0);

  std::map<std::pair<std::u16string, std::int32_t>, int> links;
  const int item = s.column("LinkMagazzinoFornitori", "CodiceArticolo");
  const int supplier = s.column("LinkMagazzinoFornitori", "idCliFor");
  for (const Row& row : s.rows("LinkMagazzinoFornitori")) {
    const Value& code = row[static_cast<std::size_t>(item)];
    const Value& id = row[static_cast<std::size_t>(supplier)];
    // count(CodiceArticolo) counts the non-null codes of a group; a null supplier is a group too.
    if (!code.is_null()) ++links[{code.as_text(), id.is_null() ? INT32_MIN : id.as_long()}];
  }
  for (const auto& [pair, count] : links) EXPECT_EQ(count, 1);

  const auto clifor = s.long_set("CliFor", "idCliFor");
  for (const Value& destination : s.values("TestataFattAcc", "idDestinazione")) {
    ASSERT_FALSE(destination.is_null());
    EXPECT_TRUE(clifor.count(destination.as_long()));
  }

  const auto locations = s.text_set("Magazzino", "Collocazione");
  EXPECT_TRUE(std::any_of(locations.begin(), locations.end(), department_like));
  EXPECT_TRUE(std::any_of(locations.begin(), locations.end(), [](const auto& l) { return l.size() > 2; }));
}

}  // namespace
}  // namespace tarvik::archive_gen::sample::testing
