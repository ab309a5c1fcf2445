// The sample written as a Jet4 archive: the same options give the same bytes, and the project's
// own reader reads back exactly the rows the generator produced.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "archive-gen/jet_writer.h"
#include "archive-gen/sample/writer_sink.h"
#include "archive/jet/jet_file.h"
#include "recorded_sample.h"

namespace tarvik::archive_gen::sample::testing {
namespace {

std::string write_sample(const SampleOptions& options, const std::string& name) {
  const std::string path = ::testing::TempDir() + name;
  const SampleSchema schema = tarvik_schema(options.outdated);
  JetWriter writer(path, schema.tables);
  WriterSink sink(writer);
  generate_sample(options, schema, sink);
  writer.finish();
  return path;
}

std::vector<char> bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SampleArchive, SameOptionsSameBytesOtherSeedOtherBytes) {
  SampleOptions options;
  options.seed = 11;
  const auto first = bytes_of(write_sample(options, "sample-a.mdb"));
  const auto again = bytes_of(write_sample(options, "sample-b.mdb"));
  options.seed = 12;
  const auto other = bytes_of(write_sample(options, "sample-c.mdb"));
  ASSERT_GT(first.size(), 100000u);
  EXPECT_TRUE(first == again);
  EXPECT_FALSE(first == other);
}

TEST(SampleArchive, ReadsBackExactlyThroughTheProjectsReader) {
  const SampleOptions options;
  const RecordedSample expected(options);
  const auto file = archive::jet::JetFile::open(write_sample(options, "sample-readback.mdb"));

  std::vector<std::string> names;
  for (const TableSpec& table : expected.schema().tables) names.push_back(table.name);
  EXPECT_EQ(file->user_table_names(), names);

  for (const TableSpec& spec : expected.schema().tables) {
    const archive::jet::TableDef table = file->table(spec.name);
    ASSERT_EQ(table.columns.size(), spec.columns.size()) << spec.name;
    for (std::size_t c = 0; c < spec.columns.size(); ++c) {
      EXPECT_EQ(table.columns[c].name, spec.columns[c].name);
      EXPECT_EQ(table.columns[c].type, spec.columns[c].type) << spec.name << "." << spec.columns[c].name;
    }
    const auto& rows = expected.rows(spec.name);
    EXPECT_EQ(table.row_count, rows.size()) << spec.name;
    auto scan = file->scan(table);
    std::vector<archive::Value> row;
    std::size_t n = 0;
    while (scan.next(row)) {
      ASSERT_LT(n, rows.size()) << spec.name;
      for (std::size_t c = 0; c < row.size(); ++c) {
        EXPECT_EQ(row[c], rows[n][c]) << spec.name << " row " << n << " column " << spec.columns[c].name;
      }
      ++n;
    }
    EXPECT_EQ(n, rows.size()) << spec.name;
  }
}

TEST(SampleArchive, OutdatedArchiveHasNoNoteInBollaOnDisk) {
  SampleOptions options;
  options.outdated = true;
  const auto file = archive::jet::JetFile::open(write_sample(options, "sample-outdated.mdb"));
  const archive::jet::TableDef clifor = file->table("CliFor");
  EXPECT_EQ(clifor.find_column("NoteInBolla"), nullptr);
  EXPECT_NE(clifor.find_column("idAgente"), nullptr);
}

}  // namespace
}  // namespace tarvik::archive_gen::sample::testing
