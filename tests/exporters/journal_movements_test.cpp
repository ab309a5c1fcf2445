// The PrimanotaMovimenti block: movements of the journal documents that are exported.
#include <gtest/gtest.h>

#include "exporters/exporters.h"
#include "exporters/master_data_tables.h"

namespace tarvik::test::master {
namespace {

using namespace exporters;

TEST(JournalMovements, OnlyMovementsOfExportedJournalDocumentsAreWritten) {
  ArchiveOfTest archive({
      Table(CliFor()).row({{"idCliFor", L(1)}}),
      Table(PrimanotaDocumenti())
          .row({{"idPrimanota", L(10)}, {"idCliFor", L(1)}, {"CreatoDa", T(u"P_")}})
          .row({{"idPrimanota", L(11)}, {"idCliFor", L(2)}, {"CreatoDa", T(u"P_")}})  // customer missing
          .row({{"idPrimanota", L(12)}, {"idCliFor", L(1)}, {"CreatoDa", T(u"F_")}, {"idDocumento", L(9)}}),
      Table(PrimanotaMovimenti())
          .row({{"idMovimento", L(1)}, {"idPrimanota", L(10)}, {"DataScadenza", Day(38046)}, {"Importo", C(1'005'000)},
                {"DataMovimento", Day(38047.5)}, {"idContoCorrente", L(2)}, {"NumAssegno", T(u"A-77\r\n")},
                {"StampatoRIBA", B(true)}})
          .row({{"idMovimento", L(2)}, {"idPrimanota", L(11)}, {"Importo", C(10'000)}})
          .row({{"idMovimento", L(3)}, {"idPrimanota", L(99)}, {"Importo", C(10'000)}})  // no such document
          .row({{"idMovimento", L(4)}, {"idPrimanota", L(12)}, {"Importo", C(-2'500)}})  // its document is rewritten
          .row({{"idMovimento", L(5)}, {"idPrimanota", L(10)}}),
  });
  ExportHarness harness(archive.path());
  ExportPrimanotaMovimenti(harness);

  const Lines expected = {"PrimanotaMovimenti", " 3 ",
                          "1", "10", "2004-02-29", "100.5", "2004-03-01", "2", "A-77", "T",
                          "4", "12", "", "-.25", "", "", "", "F",
                          "5", "10", "", "", "", "", "", "F"};
  EXPECT_EQ(harness.lines(), expected);
  EXPECT_EQ(harness.ticks, 3);
}

TEST(JournalMovements, NoMovementsGiveTheNameAndAZeroCount) {
  ArchiveOfTest archive({Table(CliFor()), Table(PrimanotaDocumenti()), Table(PrimanotaMovimenti())});
  ExportHarness harness(archive.path());
  ExportPrimanotaMovimenti(harness);
  EXPECT_EQ(harness.lines(), (Lines{"PrimanotaMovimenti", " 0 "}));
}

}  // namespace
}  // namespace tarvik::test::master
