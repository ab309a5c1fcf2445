// Statements that once crashed fuzz_sql_parser: nesting or chaining (parentheses, NOT, signs,
// AND, JOIN) thousands deep overflowed the stack of the parser, the planner or the tree's
// destructor. They now stop at once with Jet's "query too complex", while statements as deep as
// Jet itself takes still parse.
#include <gtest/gtest.h>

#include <string>

#include "archive/archive_error.h"
#include "archive/sql/parser.h"
#include "fuzz_regressions/fuzz_inputs.h"

// The fuzz target itself, under a name of its own: the test replays exactly what the fuzzer ran.
#define LLVMFuzzerTestOneInput fuzz_sql_parser_one_input
#include "../../fuzz/fuzz_sql_parser.cpp"
#undef LLVMFuzzerTestOneInput

namespace tarvik::test {
namespace {

int parse_error_number(std::string_view statement) {
  try {
    tarvik::archive::sql::parse(statement);
  } catch (const tarvik::archive::ArchiveError& e) {
    return e.number();
  }
  return 0;
}

std::string repeat(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(SqlParserFuzzRegressions, StoredInputsRunThroughTheTarget) {
  const auto inputs = fuzz_regression_inputs("fuzz_sql_parser");
  ASSERT_FALSE(inputs.empty());
  for (const FuzzInput& input : inputs) {
    SCOPED_TRACE(input.name);
    EXPECT_EQ(fuzz_sql_parser_one_input(input.bytes.data(), input.bytes.size()), 0);
  }
}

TEST(SqlParserFuzzRegressions, DeepStatementsAreTooComplex) {
  for (const FuzzInput& input : fuzz_regression_inputs("fuzz_sql_parser")) {
    if (!input.name.starts_with("deep-")) continue;
    SCOPED_TRACE(input.name);
    EXPECT_EQ(parse_error_number(std::string(input.bytes.begin(), input.bytes.end())), 3360);
  }
}

TEST(SqlParserFuzzRegressions, AsDeepAsJetTakesStillParses) {
  // Jet's own limits: 99 ANDs in a WHERE clause, 50 levels of nesting; 16 joins in a query.
  EXPECT_EQ(parse_error_number("SELECT a FROM t WHERE a = 1" + repeat(" AND a = 1", 99)), 0);
  EXPECT_EQ(parse_error_number("SELECT a FROM t WHERE " + repeat("(", 49) + "a = 1" + repeat(")", 49)), 0);
  EXPECT_EQ(parse_error_number("SELECT a FROM t WHERE " + repeat("NOT ", 49) + "a = 1"), 0);
  EXPECT_EQ(parse_error_number("SELECT a FROM " + repeat("(", 16) + "t" +
                               repeat(" INNER JOIN u ON t.a = u.a)", 16)), 0);
  // One step past what the parser takes.
  EXPECT_EQ(parse_error_number("SELECT a FROM t WHERE " + repeat("(", 50) + "a = 1" + repeat(")", 50)), 3360);
}

}  // namespace
}  // namespace tarvik::test
