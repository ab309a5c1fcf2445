// The report's rules against the run plan and the sample archive: a block whose query joins has
// a rule, the rules come in the plan's order with what they join to before them, and every table
// and column a rule names is one the archive has.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/run_archives.h"
#include "archive/database.h"
#include "common/numbered_error.h"
#include "exporters/run_plan.h"
#include "report/left_out_reads.h"
#include "report/left_out_rule.h"
#include "support/temp_dir.h"

namespace tarvik::test::report {
namespace {

using tarvik::report::Finds;
using tarvik::report::LeftOutRule;
using tarvik::report::left_out_rules;
using tarvik::report::rule_for;

std::ptrdiff_t plan_position(std::string_view block) {
  const auto& plan = exporters::run_plan();
  const auto found = std::ranges::find(plan, block, &exporters::ExportStage::block);
  return found == plan.end() ? -1 : found - plan.begin();
}

TEST(LeftOutRulesTest, EveryBlockWhoseQueryJoinsHasARule) {
  for (const auto& stage : exporters::run_plan()) {
    const bool joins = stage.query.find(" JOIN ") != std::string::npos;
    EXPECT_EQ(rule_for(stage.block) != nullptr, joins) << stage.block << ": " << stage.query;
  }
  for (const LeftOutRule& rule : left_out_rules()) EXPECT_GE(plan_position(rule.block), 0) << rule.block;
}

// The finder keeps a target's keys between blocks and lets them go after the last one that asks:
// that holds only when the rules follow the run.
TEST(LeftOutRulesTest, RulesFollowThePlanAndFindTheirTargetsBeforeThem) {
  std::ptrdiff_t last = -1;
  const auto& rules = left_out_rules();
  for (auto rule = rules.begin(); rule != rules.end(); ++rule) {
    SCOPED_TRACE(std::string(rule->block));
    EXPECT_GT(plan_position(rule->block), last);
    last = plan_position(rule->block);
    for (const auto& join : rule->joins) {
      if (join.finds == Finds::KeptRows) {
        ASSERT_NE(rule_for(join.table), nullptr) << "kept rows of a block without a rule: " << join.table;
        EXPECT_LT(plan_position(join.table), last);
      }
      if (!join.lets_go) continue;
      for (auto later = rule + 1; later != rules.end(); ++later)
        for (const auto& other : later->joins)
          EXPECT_FALSE(other.table == join.table && other.key == join.key && other.finds == join.finds)
              << join.table << " let go before " << later->block << " asks it again";
    }
  }
}

class LeftOutRulesArchiveTest : public ::testing::Test {
 protected:
  // What the finder will read for `rule`: its own rows' query and every target's key.
  void read_as_the_finder(const LeftOutRule& rule) {
    db->check_statement(tarvik::report::RuleQuery(rule));
    for (const auto& join : rule.joins) {
      if (join.finds == Finds::Index) tarvik::report::JoinIndex(*db, join);
      else db->check_statement("SELECT " + std::string(join.key) + " FROM " + std::string(join.table));
    }
  }

  TempDir folder;
  run::WrittenSample sample = run::write_sample(folder.path());
  std::unique_ptr<archive::Database> db = archive::Database::open(sample.path.string());
};

TEST_F(LeftOutRulesArchiveTest, EveryRuleNamesTablesAndColumnsTheArchiveHas) {
  for (const LeftOutRule& rule : left_out_rules()) {
    SCOPED_TRACE(std::string(rule.block));
    EXPECT_NO_THROW(read_as_the_finder(rule));
  }
  // The same reads refuse a rule with a name misspelt, wherever it is.
  LeftOutRule misspelt = *rule_for("LinkMagazzinoFornitori");
  misspelt.listed.push_back({"Codcie", ", ", "Codice"});
  EXPECT_THROW(read_as_the_finder(misspelt), NumberedError);
  misspelt = *rule_for("LinkMagazzinoFornitori");
  misspelt.joins[1].key = "idCliFr";
  EXPECT_THROW(read_as_the_finder(misspelt), NumberedError);
  misspelt = *rule_for("RigheBolle");
  misspelt.joins[0].table = "TestataBole";
  EXPECT_THROW(read_as_the_finder(misspelt), NumberedError);
}

}  // namespace
}  // namespace tarvik::test::report
