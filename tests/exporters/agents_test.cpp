// The Agenti and LinkAgentiCliFor blocks: only agents with a register record, and only links to
// such agents.
#include <gtest/gtest.h>

#include "exporters/exporters.h"
#include "exporters/master_data_tables.h"

namespace tarvik::test::master {
namespace {

using namespace exporters;

// The register: customers 1 to 4, agents 40 and 41 (41 has no Agenti row), and the agent 50 has
// an Agenti row but no register record.
Table register_with_agents() {
  return Table(CliFor())
      .row({{"idCliFor", L(1)}, {"idAgente", L(40)}})
      .row({{"idCliFor", L(40)}, {"ClienteOFornitore", T(u"A")}})
      .row({{"idCliFor", L(2)}})                       // no agent
      .row({{"idCliFor", L(3)}, {"idAgente", L(41)}})  // an agent without commission rules
      .row({{"idCliFor", L(4)}, {"idAgente", L(50)}})  // an agent without a register record
      .row({{"idCliFor", L(41)}, {"ClienteOFornitore", T(u"A")}})
      .row({{"idCliFor", L(5)}, {"idAgente", L(40)}});
}

TEST(Agents, OnlyAgentsWithARegisterRecordAreWrittenWithAllTheirBands) {
  ArchiveOfTest archive({register_with_agents(),
                         Table(Agenti())
                             .row({{"idCliFor", L(50)}, {"TipoProvvigione", Y(1)}, {"ProvvFissa", S(5)}})
                             .row({{"idCliFor", L(40)}, {"TipoProvvigione", Y(2)}, {"ProvvFissa", S(0)},
                                   {"Fascia1Fin", C(10'000'000)}, {"Fascia1Provv", S(3)},
                                   {"Fascia2Fin", C(25'000'000)}, {"Fascia2Provv", S(4.5f)},
                                   {"Fascia8Fin", C(-5000)}, {"Fascia8Provv", S(0.25f)}})});
  ExportHarness harness(archive.path());
  ExportAgenti(harness);

  Lines expected = {"Agenti", " 1 ", "40", " 2 ", "0", "1000", "3", "2500", "4.5"};
  expected.insert(expected.end(), 10, "");  // bands 3 to 7
  append(expected, {"-.5", "0.25"});
  EXPECT_EQ(harness.lines(), expected);
  EXPECT_EQ(harness.ticks, 1);
}

TEST(Agents, LinksNameOnlyAgentsThatHaveCommissionRulesAndARegisterRecord) {
  ArchiveOfTest archive({register_with_agents(),
                         Table(Agenti()).row({{"idCliFor", L(40)}}).row({{"idCliFor", L(50)}})});
  ExportHarness harness(archive.path());
  ExportLinkAgentiCliFor(harness);

  EXPECT_EQ(harness.lines(), (Lines{"LinkAgentiCliFor", " 2 ", "1", "40", "5", "40"}));
  EXPECT_EQ(harness.ticks, 2);
}

TEST(Agents, NoAgentsGiveTwoEmptyBlocks) {
  ArchiveOfTest archive({register_with_agents(), Table(Agenti())});
  ExportHarness harness(archive.path());
  ExportAgenti(harness);
  ExportLinkAgentiCliFor(harness);
  EXPECT_EQ(harness.lines(), (Lines{"Agenti", " 0 ", "LinkAgentiCliFor", " 0 "}));
  EXPECT_EQ(harness.ticks, 0);
}

}  // namespace
}  // namespace tarvik::test::master
