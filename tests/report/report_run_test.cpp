// The report of runs over archives made for the purpose: texts from the archive escaped on the
// page, a value changed in two ways counted once, rows a join writes twice listed apart, and the
// files a failed, refused or unwritable run leaves.
#include <gtest/gtest.h>

#include <fstream>

#include "app/run_archives.h"
#include "cli/export_program_run.h"
#include "report/report_page.h"

namespace tarvik::test::report {
namespace {

using archive::Value;
using cli::ProgramRun;
using cli::run_program;
using run::SchemaArchive;

class ReportRun : public ::testing::Test {
 protected:
  ProgramRun export_run() {
    return run_program({"export", "--folder", archives_.path().string(), "--output", transfer().string(),
                        "--departments", "no"});
  }
  std::filesystem::path transfer() const { return outputs_ / "ProvaExport.txt"; }
  std::filesystem::path page_path() const { return outputs_ / "ProvaExport.html"; }
  void leave_older_files() const {
    std::ofstream(transfer(), std::ios::binary) << " 1 \r\nF\r\n";
    std::ofstream(page_path(), std::ios::binary) << "<html>vecchio</html>";
  }

  TempDir archives_;
  TempDir outputs_;
};

TEST_F(ReportRun, ArchiveTextsAreEscapedAndNeverBecomeMarkup) {
  SchemaArchive()
      .row("CliFor", {{"idCliFor", Value::long_(1)}, {"RagioneSociale1", Value::text(u"<script>alert('\u0416')</script>")}})
      .row("GiornaleMagazzino", {{"idGiornaleMagazzino", Value::long_(4)}, {"Codice", Value::text(u"<b>&amp;\"")}})
      .write(archives_.path());
  const ProgramRun r = export_run();
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string page = run::read_file(page_path());
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;alert(&#39;?&#39;)&lt;/script&gt;"), std::string::npos);
  EXPECT_EQ(page.find("http"), std::string::npos) << "no outside resources";

  const auto changed = report_page::list(report_page::section(page, "CliFor"), "modificati");
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0][0], "RagioneSociale1");
  EXPECT_EQ(changed[0][1], "idCliFor 1");
  EXPECT_EQ(changed[0][2], "1 carattere fuori da Windows-1252 (\xD0\x96) scritto come \"?\"; scritto: "
                           "\"<script>alert('?')</script>\"");
  const auto left_out = report_page::list(report_page::section(page, "GiornaleMagazzino"), "escluse");
  ASSERT_EQ(left_out.size(), 1u);
  EXPECT_EQ(left_out[0][0], "idGiornaleMagazzino 4, Codice '<b>&amp;\"'");
  EXPECT_EQ(left_out[0][1], "articolo '<b>&amp;\"' inesistente");
}

TEST_F(ReportRun, AValueWithControlAndLostCharactersCountsOnceAndARawMemoKeepsItsControls) {
  SchemaArchive()
      .row("CliFor", {{"idCliFor", Value::long_(1)},
                      {"Indirizzo", Value::text(u"Via\x01 Roma \u20AC\u0142")},  // a control and one lost
                      {"Note", Value::text(u"riga\r\nseconda\x02")}})           // written as stored
      .write(archives_.path());
  const ProgramRun r = export_run();
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string page = run::read_file(page_path());
  const auto changed = report_page::list(report_page::section(page, "CliFor"), "modificati");
  ASSERT_EQ(changed.size(), 1u) << "the raw note keeps its control characters";
  EXPECT_EQ(changed[0][2], "1 carattere fuori da Windows-1252 (\xC5\x82) scritto come \"?\"; 1 carattere di controllo "
                           "rimosso; scritto: \"Via Roma \xE2\x82\xAC?\"");
  for (const auto& row : report_page::summary(page)) {
    const std::int64_t expected = row.block == "CliFor" ? 1 : 0;
    EXPECT_EQ(row.changed, expected) << row.block;
    EXPECT_EQ(row.left_out, 0) << row.block;
  }
}

TEST_F(ReportRun, ARowAJoinWritesTwiceIsListedApartAndNotLeftOut) {
  SchemaArchive()
      .without_primary_key("Magazzino")
      .row("Magazzino", {{"Codice", Value::text(u"A1")}})
      .row("Magazzino", {{"Codice", Value::text(u"a1")}})
      .row("GiornaleMagazzino", {{"idGiornaleMagazzino", Value::long_(7)}, {"Codice", Value::text(u"A1")}})
      .row("GiornaleMagazzino", {{"idGiornaleMagazzino", Value::long_(8)}, {"Codice", Value::text(u"B2")}})
      .write(archives_.path());
  const ProgramRun r = export_run();
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string page = run::read_file(page_path());
  const std::string section = report_page::section(page, "GiornaleMagazzino");
  EXPECT_NE(section.find("Righe scritte più volte: 1 record in più"), std::string::npos) << section;
  const auto twice = report_page::list(section, "doppie");
  ASSERT_EQ(twice.size(), 1u);
  EXPECT_EQ(twice[0][0], "idGiornaleMagazzino 7");
  const auto left_out = report_page::list(section, "escluse");
  ASSERT_EQ(left_out.size(), 1u);
  EXPECT_EQ(left_out[0][0], "idGiornaleMagazzino 8, Codice 'B2'");
  for (const auto& row : report_page::summary(page)) {
    if (row.block != "GiornaleMagazzino") continue;
    EXPECT_EQ(row.written, 2);
    EXPECT_EQ(row.left_out, 1);
  }
}

TEST_F(ReportRun, AReportThatCannotBeWrittenFailsTheRunAndLeavesNoTransferFile) {
  SchemaArchive().row("CliFor", {{"idCliFor", Value::long_(1)}}).write(archives_.path());
  std::filesystem::create_directory(page_path());  // the report's name is taken by a folder
  const ProgramRun r = export_run();
  EXPECT_EQ(r.exit_code, 2) << r.err;
  EXPECT_NE(r.err.find("errore imprevisto"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("Resoconto:"), std::string::npos);
  EXPECT_EQ(run::folder_entries(outputs_.path()), std::vector<std::string>{"ProvaExport.html"});
  EXPECT_TRUE(std::filesystem::is_directory(page_path()));
}

TEST_F(ReportRun, AFailedRunDeletesAnOlderReportAndARefusedOneTouchesNeitherFile) {
  SchemaArchive().without_table("RigheOrdForn").write(archives_.path());
  leave_older_files();
  EXPECT_EQ(export_run().exit_code, 2);
  EXPECT_TRUE(run::folder_entries(outputs_.path()).empty());

  std::filesystem::remove_all(archives_.path() / run::kArchiveName);
  run::write_sample(archives_.path(), run::SampleVariant::DuplicateSuppliers);
  leave_older_files();
  EXPECT_EQ(export_run().exit_code, 1);
  EXPECT_EQ(run::read_file(page_path()), "<html>vecchio</html>");
  EXPECT_EQ(run::read_file(transfer()), " 1 \r\nF\r\n");

  // The dry run is refused the same way and leaves an older report alone.
  const ProgramRun dry = run_program({"report", "--folder", archives_.path().string(), "--output",
                                      page_path().string(), "--departments", "no"});
  EXPECT_EQ(dry.exit_code, 1);
  EXPECT_EQ(run::read_file(page_path()), "<html>vecchio</html>");
}

}  // namespace
}  // namespace tarvik::test::report
