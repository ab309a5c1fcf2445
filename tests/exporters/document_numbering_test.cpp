// The ProgrDocumenti block: every numbering counter, as stored.
#include <gtest/gtest.h>

#include "exporters/exporters.h"
#include "exporters/master_data_tables.h"

namespace tarvik::test::master {
namespace {

using namespace exporters;

TEST(DocumentNumbering, EveryCounterIsWrittenWithItsTextCleaned) {
  ArchiveOfTest archive({Table(ProgrDocumenti())
                             .row({{"Anno", I(2004)}, {"TipoDocumento", T(u"FA")}, {"Progressivo", L(152)}})
                             .row({{"Anno", I(2003)}, {"TipoDocumento", T(u"P\x01")}, {"Progressivo", L(0)}})
                             .row({{"Anno", I(2004)}, {"TipoDocumento", T(u"ZZ")}})});
  ExportHarness harness(archive.path());
  ExportProgrDocumenti(harness);
  EXPECT_EQ(harness.lines(),
            (Lines{"ProgrDocumenti", " 3 ", "2004", "FA", "152", "2003", "P", "0", "2004", "ZZ", ""}));
  EXPECT_EQ(harness.ticks, 3);
}

TEST(DocumentNumbering, NoCountersGiveTheNameAndAZeroCount) {
  ArchiveOfTest archive({Table(ProgrDocumenti())});
  ExportHarness harness(archive.path());
  ExportProgrDocumenti(harness);
  EXPECT_EQ(harness.lines(), (Lines{"ProgrDocumenti", " 0 "}));
}

}  // namespace
}  // namespace tarvik::test::master
