// The same options give the same archive; another seed another one; the scale grows it linearly.
#include <gtest/gtest.h>

#include "recorded_sample.h"

namespace tarvik::archive_gen::sample::testing {
namespace {

SampleOptions with(std::uint64_t seed, int scale = 1) {
  SampleOptions options;
  options.seed = seed;
  options.scale = scale;
  return options;
}

bool same_rows(const RecordedSample& a, const RecordedSample& b) {
  for (const TableSpec& table : a.schema().tables) {
    if (a.rows(table.name) != b.rows(table.name)) return false;
  }
  return true;
}

TEST(SampleDeterminism, SameSeedSameRowsOtherSeedOtherRows) {
  const RecordedSample first(with(7));
  const RecordedSample again(with(7));
  const RecordedSample other(with(8));
  EXPECT_TRUE(same_rows(first, again));
  EXPECT_FALSE(same_rows(first, other));
  // The seed changes the values, not the cases each sample must hold.
  EXPECT_NE(first.rows("CliFor"), other.rows("CliFor"));
}

std::uint64_t total_rows(const RecordedSample& s) {
  std::uint64_t rows = 0;
  for (const TableRowCount& count : s.counts()) rows += count.rows;
  return rows;
}

TEST(SampleDeterminism, ScaleGrowsTheArchiveLinearly) {
  const RecordedSample one(with(1, 1));
  const RecordedSample two(with(1, 2));
  const RecordedSample four(with(1, 4));
  // Each step adds about the same: (4 - 2) steps add twice what (2 - 1) adds.
  const double step = static_cast<double>(total_rows(two) - total_rows(one));
  const double two_steps = static_cast<double>(total_rows(four) - total_rows(two));
  EXPECT_GT(step, 0.8 * static_cast<double>(total_rows(one)));
  EXPECT_NEAR(two_steps / step, 2.0, 0.1);
  // The lookup tables are a business's, not its size's: CondPag stays within the 1000 the
  // export's condition list holds.
  EXPECT_EQ(one.rows("CondPag").size(), four.rows("CondPag").size());
}

TEST(SampleOptionsParsing, AcceptsTheDocumentedFormsAndRefusesOthers) {
  std::string error;
  auto options = parse_sample_options({"--scale", "3", "--seed", "42", "--variant", "outdated,missing-destination", "out.mdb"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->scale, 3);
  EXPECT_EQ(options->seed, 42u);
  EXPECT_TRUE(options->outdated && options->missing_destination && !options->duplicate_suppliers);
  EXPECT_EQ(options->output_path, "out.mdb");

  options = parse_sample_options({"--variant", "duplicate-suppliers", "--variant", "outdated", "a.mdb"}, error);
  ASSERT_TRUE(options);
  EXPECT_TRUE(options->duplicate_suppliers && options->outdated);

  // The file's format and layout; Jet3 keeps texts in Windows-1252 unless told otherwise, and
  // cannot keep others.
  EXPECT_FALSE(options->ansi_texts);
  EXPECT_EQ(options->writer.format, FileFormat::Jet4);
  options = parse_sample_options({"--format", "jet3", "--layout", "aged", "--layout-seed", "9", "a.mdb"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_TRUE(options->ansi_texts);
  EXPECT_EQ(options->writer.format, FileFormat::Jet3);
  EXPECT_EQ(options->writer.layout, Layout::Aged);
  EXPECT_EQ(options->writer.layout_seed, 9u);
  options = parse_sample_options({"--texts", "ansi", "a.mdb"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_TRUE(options->ansi_texts);
  EXPECT_EQ(options->writer.format, FileFormat::Jet4);

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {}, {"--scale", "0", "a.mdb"}, {"--scale", "x", "a.mdb"}, {"--scale", "1"},
           {"--variant", "old", "a.mdb"}, {"--seed", "-1", "a.mdb"}, {"a.mdb", "b.mdb"}, {"--size", "2", "a.mdb"},
           {"--format", "jet5", "a.mdb"}, {"--layout", "old", "a.mdb"}, {"--layout-seed", "x", "a.mdb"},
           {"--format", "jet3", "--texts", "unicode", "a.mdb"}, {"--texts", "utf8", "a.mdb"}, {"a.mdb", "--format"}}) {
    error.clear();
    EXPECT_FALSE(parse_sample_options(bad, error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace tarvik::archive_gen::sample::testing
