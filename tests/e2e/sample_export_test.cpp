// End to end: `tarvik-transfer export` of the sample archive, read back by `tarvik-transfer verify`.
// Each block's count must be what the generator wrote less the orphans it planted; the expected
// counts are worked out here from plain scans of the archive's tables and each block's join rule,
// without the archive engine's SQL.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "app/run_archives.h"
#include "cli/export_program_run.h"

namespace tarvik::test::e2e {
namespace {

using archive::Value;
using cli::ProgramRun;
using cli::run_program;
using run::scan_rows;

// Jet compares texts without regard to letter case; the sample's codes are plain ASCII.
std::u16string folded(const Value& v) {
  std::u16string text = v.as_text();
  for (char16_t& c : text)
    if (c < 128) c = static_cast<char16_t>(std::toupper(static_cast<int>(c)));
  return text;
}

// A key for a join: nulls never match.
bool has(const std::set<std::int32_t>& keys, const Value& v) { return !v.is_null() && keys.count(v.as_long()); }
bool has(const std::set<std::u16string>& keys, const Value& v) { return !v.is_null() && keys.count(folded(v)); }

struct DocumentKind {
  const char* header;
  const char* rows;
};
constexpr DocumentKind kDocumentKinds[] = {
    {"TestataFattAcc", "RigheFattAcc"},     {"TestataFatture", "RigheFatture"}, {"TestataBolle", "RigheBolle"},
    {"TestataOrdCli", "RigheOrdCli"},       {"TestataPreventivi", "RighePreventivi"},
    {"TestataDocGen1", "RigheDocGen1"},     {"TestataOrdForn", "RigheOrdForn"}};

// The record count each block must carry, from the archive's rows.
std::map<std::string, std::int64_t> expected_counts(const std::filesystem::path& archive_path) {
  const auto file = archive::jet::JetFile::open(archive_path.string());
  std::map<std::string, std::int64_t> counts;
  // Blocks that carry every row of their table.
  for (const char* table : {"TabellaAspettoBeni", "BancheAppoggio", "TabellaCausaliTrasporto", "CondPag", "TabellaIVA",
                            "TabellaProduttori", "TabellaVettori", "CausPrim", "TabellaContiCorrenti", "CliFor",
                            "Magazzino", "DistinteMagazzino", "StampaPersonalizzata2", "ProgrDocumenti"})
    counts[table] = run::count_rows(*file, table);

  std::set<std::int32_t> register_ids;
  for (const auto& r : scan_rows(*file, "CliFor", {"idCliFor"})) register_ids.insert(r[0].as_long());
  std::set<std::u16string> item_codes;
  for (const auto& r : scan_rows(*file, "Magazzino", {"Codice"})) item_codes.insert(folded(r[0]));

  // Agents with a register record; register records whose agent is such an agent.
  std::set<std::int32_t> agents;
  for (const auto& r : scan_rows(*file, "Agenti", {"idCliFor"}))
    if (has(register_ids, r[0])) agents.insert(r[0].as_long());
  counts["Agenti"] = static_cast<std::int64_t>(agents.size());
  for (const auto& r : scan_rows(*file, "CliFor", {"idAgente"})) counts["LinkAgentiCliFor"] += has(agents, r[0]);

  // Items with a barcode of at least one character.
  for (const auto& r : scan_rows(*file, "Magazzino", {"Barcode"}))
    counts["BarcodeMagazzino"] += !r[0].is_null() && !r[0].as_text().empty();
  // Movements and supplier links of existing items (and suppliers).
  for (const auto& r : scan_rows(*file, "GiornaleMagazzino", {"Codice"})) counts["GiornaleMagazzino"] += has(item_codes, r[0]);
  for (const auto& r : scan_rows(*file, "LinkMagazzinoFornitori", {"CodiceArticolo", "idCliFor"}))
    counts["LinkMagazzinoFornitori"] += has(item_codes, r[0]) && has(register_ids, r[1]);

  // Print layout entries less the four of the program's own, matched exactly.
  const std::set<std::tuple<std::u16string, std::u16string, std::int32_t>> excluded = {
      {u"B_", u"R", 300}, {u"B_", u"T", 2100}, {u"FA", u"R", 150}, {u"FA", u"T", 5400}};
  for (const auto& r : scan_rows(*file, "StampaPersonalizzata", {"TipoDocumento", "TestataRighe", "NumeroOrdine"})) {
    const bool left_out = !r[0].is_null() && !r[1].is_null() && !r[2].is_null() &&
                          excluded.count({r[0].as_text(), r[1].as_text(), r[2].as_integer()});
    counts["StampaPersonalizzata"] += !left_out;
  }

  // Documents of an existing customer or supplier, and the rows of those documents.
  for (const DocumentKind& kind : kDocumentKinds) {
    std::set<std::int32_t> exported;
    for (const auto& r : scan_rows(*file, kind.header, {"idDocumento", "idCliFor"}))
      if (has(register_ids, r[1])) exported.insert(r[0].as_long());
    counts[kind.header] = static_cast<std::int64_t>(exported.size());
    for (const auto& r : scan_rows(*file, kind.rows, {"idDocumento"})) counts[kind.rows] += has(exported, r[0]);
  }

  // Journal documents of an existing customer or supplier, and their movements.
  std::set<std::int32_t> journal;
  for (const auto& r : scan_rows(*file, "PrimanotaDocumenti", {"idPrimanota", "idCliFor"}))
    if (has(register_ids, r[1])) journal.insert(r[0].as_long());
  counts["PrimanotaDocumenti"] = static_cast<std::int64_t>(journal.size());
  for (const auto& r : scan_rows(*file, "PrimanotaMovimenti", {"idPrimanota"})) counts["PrimanotaMovimenti"] += has(journal, r[0]);
  return counts;
}

// verify's block lines: "NAME COUNT", in file order.
std::vector<std::pair<std::string, std::int64_t>> verified_blocks(const std::string& out) {
  std::vector<std::pair<std::string, std::int64_t>> blocks;
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);  // Totale record
  std::getline(lines, line);  // Reparti
  while (std::getline(lines, line) && line != "Il file rispetta il tracciato.") {
    std::istringstream fields(line);
    std::string name;
    std::int64_t count = -1;
    fields >> name >> count;
    blocks.emplace_back(name, count);
  }
  return blocks;
}

class SampleExport : public ::testing::Test {
 protected:
  ProgramRun export_to(const std::filesystem::path& output) {
    return run_program({"export", "--folder", archives_.path().string(), "--output", output.string(), "--departments", "yes"});
  }
  TempDir archives_;
  TempDir outputs_;
};

TEST_F(SampleExport, TheExportVerifiesAndEachBlockHoldsWhatTheGeneratorWroteLessItsOrphans) {
  const run::WrittenSample sample = run::write_sample(archives_.path());
  const auto output = outputs_ / "ProvaExport.txt";
  const ProgramRun exported = export_to(output);
  ASSERT_EQ(exported.exit_code, 0) << exported.err;

  const ProgramRun verified = run_program({"verify", output.string()});
  ASSERT_EQ(verified.exit_code, 0) << verified.out;
  std::int64_t total = 0;
  for (const std::string& table : run::counted_tables()) total += static_cast<std::int64_t>(sample.rows_of(table));
  EXPECT_EQ(verified.out.substr(0, verified.out.find('\n')), "Totale record: " + std::to_string(total));

  const std::map<std::string, std::int64_t> expected = expected_counts(sample.path);
  const auto blocks = verified_blocks(verified.out);
  ASSERT_EQ(blocks.size(), 36u) << verified.out;
  for (const auto& [block, count] : blocks) {
    ASSERT_TRUE(expected.count(block)) << block;
    EXPECT_EQ(count, expected.at(block)) << block;
    // A table block never holds more than its table, and the sample plants orphans in every
    // block that a join filters.
    bool whole_table = false;
    for (const auto& written : sample.counts) whole_table |= written.table == block;
    if (!whole_table) continue;
    const auto rows = static_cast<std::int64_t>(sample.rows_of(block));
    const bool filtered = block == "Agenti" || block == "GiornaleMagazzino" || block == "LinkMagazzinoFornitori" ||
                          block == "StampaPersonalizzata" || block.starts_with("Testata") ||
                          block.starts_with("Righe") || block.starts_with("Primanota");
    if (filtered) {
      EXPECT_LT(count, rows) << block << ": the sample's orphans are gone";
    } else {
      EXPECT_EQ(count, rows) << block;
    }
  }
}

TEST_F(SampleExport, TwoExportsOfTheSameArchiveAreTheSameBytes) {
  run::write_sample(archives_.path());
  ASSERT_EQ(export_to(outputs_ / "prima.txt").exit_code, 0);
  ASSERT_EQ(export_to(outputs_ / "seconda.txt").exit_code, 0);
  const std::string first = run::read_file(outputs_ / "prima.txt");
  EXPECT_GT(first.size(), 100000u);
  EXPECT_TRUE(first == run::read_file(outputs_ / "seconda.txt"));
}

}  // namespace
}  // namespace tarvik::test::e2e
