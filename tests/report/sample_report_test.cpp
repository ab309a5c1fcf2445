// End to end: the report that `tarvik-transfer export` writes beside the transfer file of the
// sample archive. The rows left out and the values changed are worked out here from plain scans
// of the archive's tables (no query engine) and each block's join rule, and compared with the
// report's lists; the summary is compared with the transfer file's own blocks.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "app/run_archives.h"
#include "common/utf8.h"
#include "cli/export_program_run.h"
#include "report/code_page_oracle.h"
#include "report/report_page.h"

namespace tarvik::test::report {
namespace {

using archive::Value;
using cli::ProgramRun;
using cli::run_program;
using run::scan_rows;

std::u16string folded(const Value& v) {
  std::u16string text = v.as_text();
  for (char16_t& c : text)
    if (c < 128) c = static_cast<char16_t>(std::toupper(static_cast<int>(c)));
  return text;
}
bool has(const std::set<std::int32_t>& keys, const Value& v) { return !v.is_null() && keys.count(v.as_long()); }
bool has(const std::set<std::u16string>& keys, const Value& v) { return !v.is_null() && keys.count(folded(v)); }
std::string id(const Value& v) { return v.is_null() ? "(vuoto)" : std::to_string(v.as_long()); }

// A left-out row as the report names it: the first part of its key, and its reason.
using LeftOut = std::multiset<std::pair<std::string, std::string>>;

struct Expected {
  std::map<std::string, LeftOut> left_out;
  std::map<std::string, std::int64_t> conditions_dropped;  // block: idCondPag values written empty
  std::map<std::string, std::int64_t> clifor_texts_changed;  // field of CliFor: values changed
};

std::string missing(const Value& reference, const std::string& who) {
  return reference.is_null() ? "idCliFor vuoto" : who + " " + id(reference) + " inesistente";
}

Expected expected_from(const std::filesystem::path& archive_path) {
  const auto file = archive::jet::JetFile::open(archive_path.string());
  Expected e;
  std::set<std::int32_t> register_ids;
  for (const auto& r : scan_rows(*file, "CliFor", {"idCliFor"})) register_ids.insert(r[0].as_long());
  std::set<std::u16string> items;
  for (const auto& r : scan_rows(*file, "Magazzino", {"Codice"})) items.insert(folded(r[0]));
  std::set<std::int32_t> conditions;
  for (const auto& r : scan_rows(*file, "CondPag", {"idCondPag"})) conditions.insert(r[0].as_long());
  auto dropped = [&](const Value& v) { return !v.is_null() && !conditions.count(v.as_long()); };

  std::set<std::int32_t> agents;
  for (const auto& r : scan_rows(*file, "Agenti", {"idCliFor"})) {
    if (has(register_ids, r[0])) agents.insert(r[0].as_long());
    else e.left_out["Agenti"].insert({"idCliFor " + id(r[0]), r[0].is_null() ? "idCliFor vuoto" : "anagrafica " + id(r[0]) + " inesistente"});
  }
  std::set<std::int32_t> all_agent_rules;
  for (const auto& r : scan_rows(*file, "Agenti", {"idCliFor"}))
    if (!r[0].is_null()) all_agent_rules.insert(r[0].as_long());
  for (const auto& r : scan_rows(*file, "CliFor", {"idCliFor", "idAgente", "idCondPag"})) {
    if (dropped(r[2])) ++e.conditions_dropped["CliFor"];
    if (r[1].is_null() || agents.count(r[1].as_long())) continue;
    e.left_out["LinkAgentiCliFor"].insert(
        {"idCliFor " + id(r[0]), "agente " + id(r[1]) + (all_agent_rules.count(r[1].as_long()) ? " senza anagrafica" : " inesistente")});
  }
  for (const auto& r : scan_rows(*file, "GiornaleMagazzino", {"idGiornaleMagazzino", "Codice"}))
    if (!has(items, r[1]))
      e.left_out["GiornaleMagazzino"].insert({"idGiornaleMagazzino " + id(r[0]),
                                              r[1].is_null() ? "Codice vuoto" : "articolo '" + tarvik::utf16_to_utf8(r[1].as_text()) + "' inesistente"});
  for (const auto& r : scan_rows(*file, "LinkMagazzinoFornitori", {"idMagazzinoFornitori", "CodiceArticolo", "idCliFor"})) {
    if (has(items, r[1]) && has(register_ids, r[2])) continue;
    e.left_out["LinkMagazzinoFornitori"].insert({"idMagazzinoFornitori " + id(r[0]), ""});
  }

  const std::pair<const char*, const char*> kinds[] = {
      {"TestataFattAcc", "RigheFattAcc"}, {"TestataFatture", "RigheFatture"}, {"TestataBolle", "RigheBolle"},
      {"TestataOrdCli", "RigheOrdCli"},   {"TestataPreventivi", "RighePreventivi"},
      {"TestataDocGen1", "RigheDocGen1"}, {"TestataOrdForn", "RigheOrdForn"}};
  for (const auto& [header, rows] : kinds) {
    const std::string who = std::string(header) == "TestataOrdForn" ? "fornitore" : "cliente";
    const bool with_condition = std::string(header) != "TestataBolle";
    std::set<std::int32_t> exported, excluded;
    for (const auto& r : scan_rows(*file, header, {"idDocumento", "idCliFor"})) {
      if (has(register_ids, r[1])) {
        exported.insert(r[0].as_long());
      } else {
        excluded.insert(r[0].as_long());
        e.left_out[header].insert({"idDocumento " + id(r[0]), missing(r[1], who)});
      }
    }
    if (with_condition)
      for (const auto& r : scan_rows(*file, header, {"idCliFor", "idCondPag"}))
        if (has(register_ids, r[0]) && dropped(r[1])) ++e.conditions_dropped[header];
    for (const auto& r : scan_rows(*file, rows, {"idRigaDocumento", "idDocumento"})) {
      if (has(exported, r[1])) continue;
      std::string reason = r[1].is_null() ? "idDocumento vuoto"
                           : excluded.count(r[1].as_long()) ? "testata " + id(r[1]) + " esclusa"
                                                            : "testata " + id(r[1]) + " inesistente";
      e.left_out[rows].insert({"idRigaDocumento " + id(r[0]), reason});
    }
  }

  std::set<std::int32_t> journal;
  for (const auto& r : scan_rows(*file, "PrimanotaDocumenti", {"idPrimanota", "idCliFor", "idCondPag"})) {
    if (has(register_ids, r[1])) {
      journal.insert(r[0].as_long());
      if (dropped(r[2])) ++e.conditions_dropped["PrimanotaDocumenti"];
    } else {
      e.left_out["PrimanotaDocumenti"].insert({"idPrimanota " + id(r[0]), missing(r[1], "cliente/fornitore")});
    }
  }
  for (const auto& r : scan_rows(*file, "PrimanotaMovimenti", {"idMovimento", "idPrimanota"}))
    if (!has(journal, r[1])) e.left_out["PrimanotaMovimenti"].insert({"idMovimento " + id(r[0]), ""});

  // The register's texts: all written cleaned but the notes, written as stored.
  const std::vector<std::string> texts = {"ClienteOFornitore", "NomeAbituale", "RagioneSociale1", "RagioneSociale2",
                                          "Indirizzo", "Indirizzo2", "CAP", "Citta", "Provincia", "PartitaIVA",
                                          "CodiceFiscale", "Telefono1", "Telefono2", "Fax", "Note", "E-Mail",
                                          "BancaAppoggio", "BancaAppoggio2", "ABI", "CAB", "SLRagioneSociale1",
                                          "SLRagioneSociale2", "SLIndirizzo", "SLIndirizzo2", "SLCAP", "SLCitta",
                                          "SLProvincia", "NoteInFattura", "NoteInPreventivo"};
  for (const std::string& field : texts)
    for (const auto& r : scan_rows(*file, "CliFor", {field}))
      if (r[0].kind() == archive::ValueKind::Text && changed_on_the_way(r[0].as_text(), field == "Note"))
        ++e.clifor_texts_changed[field];
  return e;
}

// The first part of a listed key ("idDocumento 7" of "idDocumento 7, numero 3/2004"), and the
// reason; for the blocks whose reasons combine two joins, the reason is checked by its own test.
LeftOut listed_left_out(const std::string& page, const std::string& block, bool with_reason, bool reason_prefix) {
  LeftOut listed;
  for (const auto& cells : report_page::list(report_page::section(page, block), "escluse")) {
    EXPECT_EQ(cells.size(), 2u);
    std::string reason = with_reason ? cells[1] : "";
    if (reason_prefix && reason.find(" esclusa") != std::string::npos) reason = reason.substr(0, reason.find(" esclusa") + 8);
    listed.insert({cells[0].substr(0, cells[0].find(',')), reason});
  }
  return listed;
}

// verify's block lines: "NAME COUNT", in file order.
std::vector<std::pair<std::string, std::int64_t>> verified_blocks(const std::string& out) {
  std::vector<std::pair<std::string, std::int64_t>> blocks;
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);
  std::getline(lines, line);
  while (std::getline(lines, line) && line != "Il file rispetta il tracciato.") {
    std::istringstream fields(line);
    std::string name;
    std::int64_t count = -1;
    fields >> name >> count;
    blocks.emplace_back(name, count);
  }
  return blocks;
}

class SampleReport : public ::testing::Test {
 protected:
  TempDir archives_;
  TempDir outputs_;
};

TEST_F(SampleReport, ListsExactlyTheRowsLeftOutAndTheValuesChangedAndMatchesTheTransferFile) {
  const run::WrittenSample sample = run::write_sample(archives_.path());
  const auto output = outputs_ / "ProvaExport.txt";
  const ProgramRun exported = run_program({"export", "--folder", archives_.path().string(), "--output",
                                           output.string(), "--departments", "no"});
  ASSERT_EQ(exported.exit_code, 0) << exported.err;
  const std::string page = run::read_file(outputs_ / "ProvaExport.html");
  ASSERT_FALSE(page.empty()) << "no report beside the transfer file";
  // The heading gives the transfer file's size, taken before the file was closed.
  EXPECT_NE(page.find("<dd id=\"dimensione-trasferimento\">" + std::to_string(std::filesystem::file_size(output)) +
                      " byte</dd>"),
            std::string::npos);

  // The summary: every block of the file, in its order, with its count.
  const ProgramRun verified = run_program({"verify", output.string()});
  ASSERT_EQ(verified.exit_code, 0) << verified.out;
  const auto blocks = verified_blocks(verified.out);
  const auto summary = report_page::summary(page);
  ASSERT_EQ(summary.size(), blocks.size());
  std::int64_t written = 0, left_out = 0, changed = 0;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    EXPECT_EQ(summary[i].block, blocks[i].first);
    EXPECT_EQ(summary[i].written, blocks[i].second) << blocks[i].first;
    written += summary[i].written, left_out += summary[i].left_out, changed += summary[i].changed;
  }
  EXPECT_NE(exported.err.find("Resoconto: " + (outputs_ / "ProvaExport.html").string() + " (" + std::to_string(written) +
                              " record scritti, " + std::to_string(left_out) + " righe escluse, " +
                              std::to_string(changed) + " valori modificati)\n"),
            std::string::npos)
      << exported.err;

  const Expected expected = expected_from(sample.path);
  std::map<std::string, const report_page::SummaryRow*> by_block;
  for (const auto& row : summary) by_block[row.block] = &row;
  for (const auto& row : summary) {
    const auto found = expected.left_out.find(row.block);
    const std::int64_t count = found == expected.left_out.end() ? 0 : static_cast<std::int64_t>(found->second.size());
    EXPECT_EQ(row.left_out, count) << row.block;
  }
  // The sample plants orphans in every block a join filters.
  for (const char* block : {"Agenti", "LinkAgentiCliFor", "GiornaleMagazzino", "LinkMagazzinoFornitori", "TestataFatture",
                            "RigheFatture", "TestataOrdForn", "RigheOrdForn", "PrimanotaDocumenti", "PrimanotaMovimenti"})
    EXPECT_GT(by_block.at(block)->left_out, 0) << block;

  for (const auto& [block, rows] : expected.left_out) {
    ASSERT_LE(rows.size(), 1000u) << block << ": the sample's lists fit on the page";
    const bool combined = block == "LinkMagazzinoFornitori" || block == "PrimanotaMovimenti";
    const bool rows_block = block.starts_with("Righe");
    EXPECT_EQ(listed_left_out(page, block, !combined, rows_block), rows) << block;
  }

  // Payment conditions written empty, and the register's texts changed, field by field.
  for (const auto& [block, count] : expected.conditions_dropped) {
    std::int64_t listed = 0;
    for (const auto& cells : report_page::list(report_page::section(page, block), "modificati"))
      if (cells.at(0) == "idCondPag") {
        ++listed;
        EXPECT_NE(cells.at(2).find("assente da CondPag"), std::string::npos) << cells.at(2);
      }
    EXPECT_EQ(listed, count) << block;
    EXPECT_GT(count, 0) << block;
  }
  std::map<std::string, std::int64_t> clifor_texts;
  std::int64_t clifor_listed = 0;
  for (const auto& cells : report_page::list(report_page::section(page, "CliFor"), "modificati")) {
    ++clifor_listed;
    if (cells.at(0) != "idCondPag") ++clifor_texts[cells.at(0)];
  }
  EXPECT_EQ(clifor_texts, expected.clifor_texts_changed);
  EXPECT_EQ(by_block.at("CliFor")->changed, clifor_listed);
  EXPECT_FALSE(expected.clifor_texts_changed.empty());
}

TEST_F(SampleReport, TheDryRunGivesTheExportsReportAndWritesNoTransferFile) {
  run::write_sample(archives_.path());
  const ProgramRun exported = run_program({"export", "--folder", archives_.path().string(), "--output",
                                           (outputs_ / "ProvaExport.txt").string(), "--departments", "yes"});
  ASSERT_EQ(exported.exit_code, 0) << exported.err;
  const auto dry_folder = outputs_ / "prova";
  std::filesystem::create_directory(dry_folder);
  const ProgramRun dry = run_program({"report", "--folder", archives_.path().string(), "--output",
                                      (dry_folder / "Resoconto.html").string(), "--departments", "yes"});
  ASSERT_EQ(dry.exit_code, 0) << dry.err;
  EXPECT_EQ(run::folder_entries(dry_folder), std::vector<std::string>{"Resoconto.html"});
  const std::string from_export = run::read_file(outputs_ / "ProvaExport.html");
  const std::string from_dry_run = run::read_file(dry_folder / "Resoconto.html");
  EXPECT_NE(from_dry_run.find("nessuno: prova senza esportazione"), std::string::npos);
  EXPECT_GT(from_export.size(), 10000u);
  EXPECT_TRUE(report_page::without_run_lines(from_export) == report_page::without_run_lines(from_dry_run));
}

}  // namespace
}  // namespace tarvik::test::report
