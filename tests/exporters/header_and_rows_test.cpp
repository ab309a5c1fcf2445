// The pairs of header and rows blocks, which the report follows too, agree with the run plan:
// each rows block comes right after its header's and its query joins the rows to their header
// by the pair's key.
#include <gtest/gtest.h>

#include <string>

#include "exporters/header_and_rows.h"
#include "exporters/run_plan.h"

namespace tarvik::test::exporters {
namespace {

using tarvik::exporters::ExportStage;

TEST(HeaderAndRowsTest, EachPairIsWrittenAndJoinedAsThePlanDoesIt) {
  const auto& plan = tarvik::exporters::run_plan();
  for (const auto& kind : tarvik::exporters::kHeaderAndRows) {
    SCOPED_TRACE(std::string(kind.rows));
    std::size_t header = 0;
    while (header < plan.size() && plan[header].block != kind.header) ++header;
    ASSERT_LT(header + 1, plan.size()) << "no header block " << kind.header << " before its rows";
    const ExportStage& rows = plan[header + 1];
    EXPECT_EQ(rows.block, kind.rows);
    const std::string join = std::string(kind.rows) + "." + std::string(kind.header_key) + " = " +
                             std::string(kind.header) + "." + std::string(kind.header_key);
    EXPECT_NE(rows.query.find(join), std::string::npos) << rows.query;
  }
}

}  // namespace
}  // namespace tarvik::test::exporters
