// `tarvik-transfer verify FILE` run as a program: the header and each block with its record count,
// then either the file's approval (exit 0) or the first line that breaks the layout (exit 1).
#include <gtest/gtest.h>

#include <fstream>

#include "cli/export_program_run.h"
#include "support/temp_dir.h"

namespace tarvik::test::cli {
namespace {

const char* const kBlocks[] = {
    "TabellaAspettoBeni", "BancheAppoggio", "TabellaCausaliTrasporto", "CondPag", "TabellaIVA",
    "TabellaProduttori", "TabellaVettori", "CausPrim", "TabellaContiCorrenti", "CliFor", "Agenti",
    "LinkAgentiCliFor", "Magazzino", "BarcodeMagazzino", "GiornaleMagazzino", "LinkMagazzinoFornitori",
    "DistinteMagazzino", "StampaPersonalizzata", "StampaPersonalizzata2", "TestataFattAcc", "RigheFattAcc",
    "TestataFatture", "RigheFatture", "TestataBolle", "RigheBolle", "TestataOrdCli", "RigheOrdCli",
    "TestataPreventivi", "RighePreventivi", "TestataDocGen1", "RigheDocGen1", "TestataOrdForn",
    "RigheOrdForn", "PrimanotaDocumenti", "PrimanotaMovimenti", "ProgrDocumenti"};

// A transfer file whose blocks are all empty but TabellaIVA, which holds two rates.
std::string small_transfer_file() {
  std::string bytes = " 2 \r\nT\r\n";
  for (const char* block : kBlocks) {
    bytes += std::string(block) + "\r\n";
    bytes += std::string(block) == "TabellaIVA" ? " 2 \r\n1\r\nEsente\r\n0\r\n2\r\nOrdinaria\r\n22\r\n" : " 0 \r\n";
  }
  return bytes;
}

// The block lines verify prints: the name in a column of 26, a blank, the count.
std::string block_lines(const char* last_block = nullptr) {
  std::string lines;
  for (const char* block : kBlocks) {
    if (last_block != nullptr && std::string(block) == last_block) break;
    std::string name = block;
    name.resize(26, ' ');
    lines += name + (std::string(block) == "TabellaIVA" ? " 2\n" : " 0\n");
  }
  return lines;
}

class VerifyCommand : public ::testing::Test {
 protected:
  std::string write(const std::string& bytes) {
    const auto path = folder_ / "ProvaExport.txt";
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  TempDir folder_;
};

TEST_F(VerifyCommand, AGoodFileIsListedBlockByBlockAndExitsWithZero) {
  const ProgramRun r = run_program({"verify", write(small_transfer_file())});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "Totale record: 2\nReparti: T\n" + block_lines() + "Il file rispetta il tracciato.\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(VerifyCommand, ABrokenFileShowsTheBlocksReadAndTheLineWhereItBreaks) {
  std::string bytes = small_transfer_file();
  bytes.replace(bytes.find("Ordinaria"), 9, "Ordinaria\r\nseconda riga");  // one line too many
  const ProgramRun r = run_program({"verify", write(bytes)});
  EXPECT_EQ(r.exit_code, 1);
  // Header 2 lines, 4 empty blocks 8 lines, TabellaIVA's name and count: its values from line 13,
  // so the extra line 19 stands where TabellaProduttori's name should.
  EXPECT_EQ(r.out, "Totale record: 2\nReparti: T\n" + block_lines("TabellaProduttori") +
                       "Errore alla riga 19: atteso il nome del blocco TabellaProduttori\n");
}

TEST_F(VerifyCommand, AFileThatCannotBeReadExitsWithOne) {
  const ProgramRun r = run_program({"verify", (folder_ / "nessuno.txt").string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "tarvik-transfer: impossibile leggere '" + (folder_ / "nessuno.txt").string() + "'\n");
  EXPECT_EQ(r.out, "");
}

TEST_F(VerifyCommand, WrongUsageExitsWithSixtyFour) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"verify"}, {"verify", "a.txt", "b.txt"}}) {
    const ProgramRun r = run_program(args);
    EXPECT_EQ(r.exit_code, 64);
    EXPECT_EQ(r.err.find("tarvik-transfer: verify: serve 1 argomento, non "), 0u) << r.err;
    EXPECT_NE(r.err.find("uso: tarvik-transfer"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

}  // namespace
}  // namespace tarvik::test::cli
