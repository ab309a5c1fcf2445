// The export does not depend on how an archive is stored. One sample, written as Jet4 and as Jet3
// (with texts Windows-1252 holds, as a Jet3 archive has them), fresh and aged with several layout
// seeds, exports to the same transfer file byte for byte and to the same report from its summary
// on (its heading names the archive); an archive an archive check refuses is refused with the same
// words. And what edits leave behind changes nothing: a deleted duplicate supplier link refuses
// nothing, and a deleted invoice header leaves its rows out exactly as a header that never existed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive-gen/sample/sample_generator.h"
#include "archive-gen/sample/tarvik_schema.h"
#include "robustness/export_fixture.h"

namespace tarvik::test {
namespace {

using archive_gen::FileFormat;
using archive_gen::Layout;
using archive_gen::sample::RowEditor;
using archive_gen::sample::SampleOptions;

struct Export {
  int exit_code = -1;
  std::string output;  // what the command said, the folder's path taken out
  std::vector<std::uint8_t> transfer;
  std::string report;  // from the summary table on
};

std::string without(std::string text, const std::string& part) {
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) text.erase(at, part.size());
  return text;
}

Export export_sample(SampleOptions options, RowEditor* edit = nullptr) {
  TempDir folder;
  options.output_path = (folder / kArchiveName).string();
  archive_gen::sample::write_sample_archive(options, edit);
  const ToolResult result = run_tool(export_args(folder.path(), folder / "ProvaExport.txt"));
  Export out;
  out.exit_code = result.exited_with(0) ? 0 : result.exited_with(1) ? 1 : 2;
  out.output = without(result.output, folder.path().string());
  if (out.exit_code != 0) return out;
  out.transfer = read_file_bytes(folder / "ProvaExport.txt");
  const std::vector<std::uint8_t> page = read_file_bytes(folder / "ProvaExport.html");
  const std::string html(page.begin(), page.end());
  const std::size_t summary = html.find("<table id=\"riepilogo\">");
  EXPECT_NE(summary, std::string::npos);
  out.report = html.substr(summary);
  return out;
}

SampleOptions stored_as(SampleOptions options, FileFormat format, Layout layout, std::uint64_t seed = 1) {
  options.writer.format = format;
  options.writer.layout = layout;
  options.writer.layout_seed = seed;
  return options;
}

void expect_same(const Export& a, const Export& b, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(a.exit_code, b.exit_code) << a.output << "\n---\n" << b.output;
  EXPECT_TRUE(a.transfer == b.transfer) << "the transfer files differ";
  EXPECT_EQ(a.report, b.report);
  if (a.exit_code != 0) {
    EXPECT_EQ(a.output, b.output);
  }
}

struct Sample {
  int scale;
  std::uint64_t seed;
};

class LayoutIdentity : public ::testing::TestWithParam<Sample> {};

TEST_P(LayoutIdentity, EveryFormatAndLayoutExportsTheSame) {
  SampleOptions options;
  options.scale = GetParam().scale;
  options.seed = GetParam().seed;
  options.ansi_texts = true;
  const Export reference = export_sample(stored_as(options, FileFormat::Jet4, Layout::Fresh));
  ASSERT_EQ(reference.exit_code, 0) << reference.output;
  expect_same(export_sample(stored_as(options, FileFormat::Jet3, Layout::Fresh)), reference, "Jet3 fresh");
  for (std::uint64_t layout_seed : {1, 2, 3}) {
    const std::string seed = " seed " + std::to_string(layout_seed);
    expect_same(export_sample(stored_as(options, FileFormat::Jet4, Layout::Aged, layout_seed)), reference, "Jet4 aged" + seed);
    expect_same(export_sample(stored_as(options, FileFormat::Jet3, Layout::Aged, layout_seed)), reference, "Jet3 aged" + seed);
  }
  // Texts beyond Windows-1252 need Jet4: fresh and aged alike.
  options.ansi_texts = false;
  const Export unicode = export_sample(stored_as(options, FileFormat::Jet4, Layout::Fresh));
  ASSERT_EQ(unicode.exit_code, 0) << unicode.output;
  EXPECT_FALSE(unicode.transfer == reference.transfer) << "the sample's texts beyond Windows-1252 did not reach the export";
  expect_same(export_sample(stored_as(options, FileFormat::Jet4, Layout::Aged, 4)), unicode, "Jet4 aged, texts beyond Windows-1252");
}

INSTANTIATE_TEST_SUITE_P(Samples, LayoutIdentity,
                         ::testing::Values(Sample{1, 1}, Sample{1, 23}, Sample{10, 7}));

TEST(LayoutIdentity, ArchivesTheChecksRefuseAreRefusedAlike) {
  for (const char* variant : {"outdated", "duplicate-suppliers", "missing-destination"}) {
    SampleOptions options;
    options.ansi_texts = true;
    options.outdated = std::string(variant) == "outdated";
    options.duplicate_suppliers = std::string(variant) == "duplicate-suppliers";
    options.missing_destination = std::string(variant) == "missing-destination";
    const Export fresh = export_sample(stored_as(options, FileFormat::Jet4, Layout::Fresh));
    EXPECT_EQ(fresh.exit_code, 1) << variant << "\n" << fresh.output;
    expect_same(export_sample(stored_as(options, FileFormat::Jet3, Layout::Aged, 6)), fresh, variant);
  }
}

// Writes every row as given, and rows of one table also, or instead, as deleted rows.
class DeletingEditor final : public RowEditor {
 public:
  enum class Mode { DeletedCopies, DeleteOne, LeaveOut };
  DeletingEditor(const std::string& table, Mode mode)
      : table_(index_of(table)), mode_(mode) {}

  void edit(archive_gen::JetWriter& writer, std::size_t table, std::span<const archive::Value> row) override {
    if (table != table_) return writer.add_row(table, row);
    switch (mode_) {
      case Mode::DeletedCopies:
        writer.add_deleted_row(table, row);
        writer.add_row(table, row);
        writer.add_deleted_row(table, row);
        return;
      case Mode::DeleteOne:
      case Mode::LeaveOut:
        if (++seen_ == 3) {
          if (mode_ == Mode::DeleteOne) writer.add_deleted_row(table, row);
          return;
        }
        writer.add_row(table, row);
    }
  }

 private:
  static std::size_t index_of(const std::string& name) {
    const auto schema = archive_gen::sample::tarvik_schema(false);
    for (std::size_t i = 0; i < schema.tables.size(); ++i)
      if (schema.tables[i].name == name) return i;
    throw std::runtime_error("no table " + name);
  }

  std::size_t table_;
  Mode mode_;
  int seen_ = 0;
};

// The rows left out of a block, from the summary's markup.
long left_out(const std::string& report, const std::string& block) {
  const std::string marker = "data-blocco=\"" + block + "\"";
  const std::size_t at = report.find(marker);
  const std::size_t count = report.find("data-esclusi=\"", at);
  if (at == std::string::npos || count == std::string::npos) return -1;
  return std::stol(report.substr(count + 14));
}

TEST(LayoutIdentity, DeletedRowsChangeNothing) {
  for (const FileFormat format : {FileFormat::Jet4, FileFormat::Jet3}) {
    SampleOptions options;
    options.ansi_texts = true;
    options.writer.format = format;
    const Export plain = export_sample(options);
    ASSERT_EQ(plain.exit_code, 0) << plain.output;

    // A supplier link deleted beside each live one: the check of suppliers linked twice sees none.
    DeletingEditor copies("LinkMagazzinoFornitori", DeletingEditor::Mode::DeletedCopies);
    expect_same(export_sample(options, &copies), plain, "deleted duplicate supplier links");

    // An invoice header deleted: its rows are left out as when it never existed.
    DeletingEditor deleted("TestataFatture", DeletingEditor::Mode::DeleteOne);
    DeletingEditor absent("TestataFatture", DeletingEditor::Mode::LeaveOut);
    const Export without_header = export_sample(options, &absent);
    ASSERT_EQ(without_header.exit_code, 0) << without_header.output;
    EXPECT_GT(left_out(without_header.report, "RigheFatture"), left_out(plain.report, "RigheFatture"))
        << "the third invoice header has no rows: the test would prove nothing";
    expect_same(export_sample(options, &deleted), without_header, "a deleted invoice header");
  }
}

}  // namespace
}  // namespace tarvik::test
