// `tarvik-transfer export` run as a program: exit codes (0 done, 1 refused, 2 an unexpected error,
// 64 wrong usage), the window's messages on standard error with their titles, progress as lines
// or as a bar, the department question on a terminal, and the defaults of folder and output.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/run_archives.h"
#include "cli/export_program_run.h"
#include "support/temp_dir.h"
#include "transfer/block_layouts.h"
#include "transfer/layout_check.h"

namespace tarvik::test::cli {
namespace {

using archive::Value;
using run::SampleVariant;
using run::SchemaArchive;
using run::folder_entries;
using run::read_file;
using run::transfer_lines;
using run::write_sample;

const std::string kGivenYes = "Reparti nelle ubicazioni: s\xC3\xAC (opzione --departments)\n";
const std::string kGivenNo = "Reparti nelle ubicazioni: no (opzione --departments)\n";

class ExportCommand : public ::testing::Test {
 protected:
  std::string folder() const { return archives_.path().string(); }
  std::filesystem::path output() const { return outputs_ / "Export.txt"; }
  std::vector<std::string> with_output(std::vector<std::string> args) const {
    args.insert(args.begin(), {"export", "--folder", folder(), "--output", output().string()});
    return args;
  }

  TempDir archives_;
  TempDir outputs_;
};

TEST_F(ExportCommand, ADoneRunExitsWithZeroSaysTheGivenAnswerAndShowsAProgressLineEveryHundredRecords) {
  write_sample(archives_.path());
  const ProgramRun r = run_program(with_output({"--departments", "yes"}));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");

  const transfer::LayoutCheck file = transfer::check_layout(read_file(output()), transfer::block_layouts());
  ASSERT_TRUE(file.ok) << file.bad_line << ": " << file.problem;
  EXPECT_TRUE(file.departments);
  std::int64_t done = 4;  // the print layout entries read but never written count too
  for (const auto& block : file.blocks) done += block.records;
  // The answer given on the command line is said in one line; the question is not shown.
  std::string expected = kGivenYes;
  for (std::int64_t d = 100; d <= done; d += 100)
    expected += "Avanzamento: " + std::to_string(d) + "/" + std::to_string(file.total) + "\n";
  // Then one last line: the report beside the transfer file, with the records it counted.
  expected += "Resoconto: " + (outputs_ / "Export.html").string() + " (" + std::to_string(done - 4) + " record scritti, ";
  EXPECT_EQ(r.err.substr(0, expected.size()), expected);
  EXPECT_EQ(std::count(r.err.begin() + static_cast<std::ptrdiff_t>(expected.size()), r.err.end(), '\n'), 1) << r.err;
  EXPECT_EQ(folder_entries(outputs_.path()), (std::vector<std::string>{"Export.html", "Export.txt"}));
}

TEST_F(ExportCommand, NoAsTheAnswerGivesFAndIsSaidInsteadOfTheQuestion) {
  write_sample(archives_.path());
  const ProgramRun r = run_program(with_output({"--departments", "no"}));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> lines = transfer_lines(output());
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], "F");
  EXPECT_EQ(r.err.substr(0, kGivenNo.size()), kGivenNo);
  EXPECT_EQ(r.err.find("Importazione archivi Tarvik"), std::string::npos) << r.err;
}

TEST_F(ExportCommand, WhenTheArchiveRaisesNoQuestionNoAnswerIsSaid) {
  SchemaArchive().write(archives_.path());  // no item with a location
  const ProgramRun r = run_program(with_output({"--departments", "yes"}));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(transfer_lines(output())[1], "F");
  EXPECT_EQ(r.err.find("Reparti"), std::string::npos) << r.err;
}

TEST_F(ExportCommand, AFolderRefusalExitsWithOne) {
  const ProgramRun missing = run_program(
      {"export", "--folder", (archives_ / "Archivi").string(), "--output", output().string(), "--departments", "yes"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err, "Esportazione dati Tarvik: La cartella specificata non esiste\n");

  const ProgramRun no_archive = run_program(with_output({"--departments", "yes"}));
  EXPECT_EQ(no_archive.exit_code, 1);
  EXPECT_EQ(no_archive.err, "Esportazione dati Tarvik: La cartella specificata non contiene un archivio di Tarvik\n");
  EXPECT_TRUE(folder_entries(outputs_.path()).empty());
}

TEST_F(ExportCommand, ACheckRefusalExitsWithOneAndPrintsTheErrorPanel) {
  write_sample(archives_.path(), SampleVariant::Outdated);
  const ProgramRun r = run_program(with_output({"--departments", "yes"}));
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err,
            "Gli archivi di Tarvik non sono aggiornati. Prima di proseguire \xC3\xA8 necessario effettuare "
            "l'aggiornamento di Tarvik. Dopo sar\xC3\xA0 opportuno eseguire una manutenzione archivi.\n");
  EXPECT_TRUE(folder_entries(outputs_.path()).empty());
}

TEST_F(ExportCommand, AnUnexpectedErrorExitsWithTwoAndDeletesTheTransferFile) {
  SchemaArchive()
      .row("ProgrDocumenti", {{"Anno", Value::integer(2005)}, {"TipoDocumento", Value::text(u"F_")}})
      .without_column("ProgrDocumenti", "Progressivo")
      .write(archives_.path());
  std::ofstream(output(), std::ios::binary) << " 1 \r\nF\r\n";  // an older run's file
  const ProgramRun r = run_program(with_output({"--departments", "yes"}));
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_EQ(r.err,
            "Esportazione dati Tarvik: Si \xC3\xA8 verificato un errore imprevisto n. 3265 descrizione dell'errore:\n\n"
            "Elemento non trovato nell'insieme.\n");
  EXPECT_TRUE(folder_entries(outputs_.path()).empty());
}

TEST_F(ExportCommand, AFullDiskIsAnUnexpectedErrorThatLeavesNoFile) {
  write_sample(archives_.path());
  ProgramSetup setup;
  setup.shell_prefix = "ulimit -f 16";  // 8 KB in the shell's blocks of 512 bytes
  const ProgramRun r = run_program(with_output({"--departments", "yes"}), setup);
  EXPECT_EQ(r.exit_code, 2);
  const std::string message =
      "Esportazione dati Tarvik: Si \xC3\xA8 verificato un errore imprevisto n. 61 descrizione dell'errore:\n\nDisco pieno\n";
  ASSERT_GE(r.err.size(), message.size()) << r.err;
  EXPECT_EQ(r.err.substr(r.err.size() - message.size()), message);
  EXPECT_TRUE(folder_entries(outputs_.path()).empty());
}

TEST_F(ExportCommand, WrongUsageExitsWithSixtyFourSayingWhatIsWrongInItalian) {
  write_sample(archives_.path());
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"export", "--folder"}, "export: manca il valore di '--folder'"},
      {{"export", "--folder", folder(), "--departments", "si"}, "export: --departments vuole yes oppure no"},
      {{"export", "--folder", folder(), "--departments", "yes", "--tipo", "x"},
       "export: opzione sconosciuta: '--tipo'"},
      {{"report", "--folder", folder(), "--output", output().string()},  // no answer, no terminal
       "report: l'opzione --departments yes|no \xC3\xA8 obbligatoria quando il comando non legge dalla tastiera "
       "(per esempio in uno script)"},
  };
  for (const auto& [args, message] : cases) {
    const ProgramRun r = run_program(args);
    EXPECT_EQ(r.exit_code, 64) << args.back();
    // The reason first, then the usage.
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "tarvik-transfer: " + message);
    EXPECT_NE(r.err.find("\n\nuso: tarvik-transfer COMANDO ARGOMENTI...\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_TRUE(folder_entries(outputs_.path()).empty());
}

TEST_F(ExportCommand, TheFolderComesFromTheSettingsAndTheFileIsProvaExportInTheWorkingFolder) {
  write_sample(archives_.path());
  TempDir config;
  std::filesystem::create_directory(config / "Tarvik");
  std::ofstream(config / "Tarvik" / "Tarvik.ini") << "[Installazione]\nCartella=" << folder() << "\n";
  ProgramSetup setup;
  setup.cwd = outputs_.path();
  setup.env["XDG_CONFIG_HOME"] = config.path().string();
  const ProgramRun r = run_program({"export", "--departments", "no"}, setup);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(folder_entries(outputs_.path()), (std::vector<std::string>{"ProvaExport.html", "ProvaExport.txt"}));
  EXPECT_TRUE(transfer::check_layout(read_file(outputs_ / "ProvaExport.txt"), transfer::block_layouts()).ok);
}

TEST_F(ExportCommand, WithoutTheSettingsTheMissingFolderIsSaidAndTheRootIsTried) {
  TempDir config;
  ProgramSetup setup;
  setup.cwd = outputs_.path();
  setup.env["XDG_CONFIG_HOME"] = config.path().string();
  const ProgramRun r = run_program({"export", "--departments", "no"}, setup);
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err,
            "Esportazione dati Tarvik: Impossibile trovare la cartella in cui \xC3\xA8 installato Tarvik. Verificare "
            "che il programma sia stato installato. E' possibile digitare manualmente la cartella.\n"
            "Esportazione dati Tarvik: La cartella specificata non contiene un archivio di Tarvik\n");
  EXPECT_TRUE(folder_entries(outputs_.path()).empty());
}

TEST_F(ExportCommand, OnATerminalTheQuestionIsAskedWithYesPreselectedAndProgressIsABar) {
  write_sample(archives_.path());
  const ProgramRun no = run_on_terminal({"export", "--folder", folder(), "--output", output().string()}, "[S/n] ", "n\n");
  ASSERT_EQ(no.exit_code, 0) << no.err;
  EXPECT_NE(no.err.find("importati in Quendal?\r\n[S/n] n\r\n"), std::string::npos) << no.err;
  EXPECT_EQ(transfer_lines(output())[1], "F");
  // The bar rewrites one line: each caption comes after a carriage return, never after a line end.
  const std::string total = transfer_lines(output())[0];
  const std::string first = "Avanzamento: 100/" + total.substr(1, total.size() - 2);
  EXPECT_NE(no.err.find("\r" + first + " ["), std::string::npos) << no.err;
  EXPECT_EQ(no.err.find(first + "\r\n"), std::string::npos) << no.err;

  const ProgramRun yes = run_on_terminal({"export", "--folder", folder(), "--output", output().string()}, "[S/n] ", "\n");
  ASSERT_EQ(yes.exit_code, 0) << yes.err;
  EXPECT_EQ(transfer_lines(output())[1], "T");
}

TEST_F(ExportCommand, OnATerminalTheOptionStillAnswersWithoutAsking) {
  write_sample(archives_.path());
  // Were the question asked, its answer would be the typed no.
  const ProgramRun r = run_on_terminal(with_output({"--departments", "yes"}), "[S/n] ", "n\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(transfer_lines(output())[1], "T");
  EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), "Reparti nelle ubicazioni: s\xC3\xAC (opzione --departments)\r\n");
  EXPECT_EQ(r.err.find("[S/n]"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace tarvik::test::cli
