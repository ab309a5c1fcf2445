// Archives and files for tests of whole export runs: the sample archive (or one of its defective
// variants) written by the sample generator, small archives with every table of Tarvik's schema
// and only the rows a test gives, row counts read by plain table scans, and what a run must leave
// untouched.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "archive-gen/jet_writer.h"
#include "archive-gen/sample/sample_generator.h"
#include "archive-gen/sample/tarvik_schema.h"
#include "archive-gen/sample/writer_sink.h"
#include "archive/jet/jet_file.h"
#include "archive/value.h"

namespace tarvik::test::run {

namespace sample = archive_gen::sample;

inline constexpr const char* kArchiveName = "Tarvik.mdb";

enum class SampleVariant { Current, Outdated, DuplicateSuppliers, MissingDestination };

struct WrittenSample {
  std::filesystem::path path;
  std::vector<sample::TableRowCount> counts;  // what the generator wrote, table by table

  std::uint64_t rows_of(std::string_view table) const {
    for (const auto& count : counts)
      if (count.table == table) return count.rows;
    throw std::invalid_argument("the sample has no table " + std::string(table));
  }
};

// Writes the sample archive as "Tarvik.mdb" into `folder`.
inline WrittenSample write_sample(const std::filesystem::path& folder,
                                  SampleVariant variant = SampleVariant::Current, int scale = 1) {
  sample::SampleOptions options;
  options.scale = scale;
  options.outdated = variant == SampleVariant::Outdated;
  options.duplicate_suppliers = variant == SampleVariant::DuplicateSuppliers;
  options.missing_destination = variant == SampleVariant::MissingDestination;
  options.output_path = (folder / kArchiveName).string();
  const sample::SampleSchema schema = sample::tarvik_schema(options.outdated);
  archive_gen::JetWriter writer(options.output_path, schema.tables);
  sample::WriterSink sink(writer);
  WrittenSample written{options.output_path, sample::generate_sample(options, schema, sink)};
  writer.finish();
  return written;
}

// An archive with every table and column of an up-to-date Tarvik, empty but for the rows a test
// gives by field name (the other fields null, a Yes/No field false, an autonumber the next
// number). A test may leave out a table or a column, as an archive that a run cannot read.
class SchemaArchive {
 public:
  using Fields = std::vector<std::pair<std::string, archive::Value>>;

  SchemaArchive() : schema_(sample::tarvik_schema()), rows_(schema_.tables.size()) {}

  SchemaArchive& row(std::string_view table, Fields fields) {
    rows_[schema_.table_index(table)].push_back(std::move(fields));
    return *this;
  }
  SchemaArchive& without_table(std::string_view table) {
    dropped_tables_.emplace_back(table);
    return *this;
  }
  SchemaArchive& without_column(std::string_view table, std::string_view column) {
    dropped_columns_.emplace_back(table, column);
    return *this;
  }
  // A table whose key Access never enforced (an archive repaired or imported by hand): its
  // rows may repeat a key.
  SchemaArchive& without_primary_key(std::string_view table) {
    schema_.tables[schema_.table_index(table)].primary_key.clear();
    return *this;
  }

  // Writes the archive as "Tarvik.mdb" into `folder` and returns its path.
  std::filesystem::path write(const std::filesystem::path& folder) const {
    std::vector<archive_gen::TableSpec> specs;
    std::vector<std::size_t> kept;  // schema index of each written table
    for (std::size_t t = 0; t < schema_.tables.size(); ++t) {
      archive_gen::TableSpec spec = schema_.tables[t];
      if (is_dropped_table(spec.name)) continue;
      std::erase_if(spec.columns, [&](const archive_gen::ColumnSpec& c) { return is_dropped_column(spec.name, c.name); });
      specs.push_back(std::move(spec));
      kept.push_back(t);
    }
    const auto path = folder / kArchiveName;
    archive_gen::JetWriter writer(path.string(), specs);
    for (std::size_t w = 0; w < specs.size(); ++w) {
      for (const Fields& fields : rows_[kept[w]]) writer.add_row(w, values_of(specs[w], fields));
    }
    writer.finish();
    return path;
  }

 private:
  static std::vector<archive::Value> values_of(const archive_gen::TableSpec& spec, const Fields& fields) {
    std::vector<archive::Value> values;
    for (const auto& c : spec.columns)
      values.push_back(c.type == archive::FieldType::Boolean ? archive::Value::boolean(false) : archive::Value());
    for (const auto& [name, value] : fields) {
      std::size_t i = 0;
      while (i < spec.columns.size() && spec.columns[i].name != name) ++i;
      if (i == spec.columns.size()) continue;  // a column the test left out of the archive
      values[i] = value;
    }
    return values;
  }
  bool is_dropped_table(std::string_view table) const {
    return std::find(dropped_tables_.begin(), dropped_tables_.end(), table) != dropped_tables_.end();
  }
  bool is_dropped_column(std::string_view table, std::string_view column) const {
    return std::find(dropped_columns_.begin(), dropped_columns_.end(),
                     std::pair<std::string, std::string>(table, column)) != dropped_columns_.end();
  }

  sample::SampleSchema schema_;
  std::vector<std::vector<Fields>> rows_;
  std::vector<std::string> dropped_tables_;
  std::vector<std::pair<std::string, std::string>> dropped_columns_;
};

// Every row of a table, read by a plain scan of the archive file (no query engine).
inline std::vector<std::vector<archive::Value>> scan_rows(const archive::jet::JetFile& file, std::string_view table,
                                                          std::vector<std::string> columns) {
  const archive::jet::TableDef def = file.table(table);
  std::vector<std::size_t> positions;
  for (const std::string& name : columns) {
    const archive::jet::Column* column = def.find_column(name);
    if (column == nullptr) throw std::invalid_argument(std::string(table) + " has no column " + name);
    positions.push_back(static_cast<std::size_t>(column - def.columns.data()));
  }
  std::vector<bool> wanted(def.columns.size(), false);
  for (std::size_t p : positions) wanted[p] = true;
  archive::jet::TableScan scan = file.scan(def);
  scan.select_columns(wanted);
  std::vector<std::vector<archive::Value>> rows;
  std::vector<archive::Value> row;
  while (scan.next(row)) {
    std::vector<archive::Value> picked;
    for (std::size_t p : positions) picked.push_back(row[p]);
    rows.push_back(std::move(picked));
  }
  return rows;
}

inline std::int64_t count_rows(const archive::jet::JetFile& file, std::string_view table) {
  return static_cast<std::int64_t>(scan_rows(file, table, {}).size());
}

// The 34 tables whose whole row counts make the record total of header line 1.
inline const std::vector<std::string>& counted_tables() {
  static const std::vector<std::string> tables = {
      "TabellaAspettoBeni", "BancheAppoggio", "TabellaCausaliTrasporto", "CondPag", "TabellaIVA",
      "TabellaProduttori", "TabellaVettori", "CausPrim", "TabellaContiCorrenti", "CliFor", "Agenti",
      "Magazzino", "GiornaleMagazzino", "LinkMagazzinoFornitori", "DistinteMagazzino",
      "StampaPersonalizzata", "StampaPersonalizzata2", "TestataFattAcc", "RigheFattAcc", "TestataFatture",
      "RigheFatture", "TestataBolle", "RigheBolle", "TestataOrdCli", "RigheOrdCli", "TestataPreventivi",
      "RighePreventivi", "TestataDocGen1", "RigheDocGen1", "TestataOrdForn", "RigheOrdForn",
      "PrimanotaDocumenti", "PrimanotaMovimenti", "ProgrDocumenti"};
  return tables;
}

inline std::int64_t record_total(const std::filesystem::path& archive_path) {
  const auto file = archive::jet::JetFile::open(archive_path.string());
  std::int64_t total = 0;
  for (const std::string& table : counted_tables()) total += count_rows(*file, table);
  return total;
}

inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The lines of a transfer file, CR LF removed; a last line without CR LF fails the test.
inline std::vector<std::string> transfer_lines(const std::filesystem::path& path) {
  const std::string bytes = read_file(path);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  EXPECT_EQ(start, bytes.size()) << "the transfer file does not end in CR LF";
  return lines;
}

// The names in a folder, sorted.
inline std::vector<std::string> folder_entries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The archive as it was before a run: a run only reads it, so its bytes and its modification time
// must be the same afterwards.
class UntouchedArchive {
 public:
  explicit UntouchedArchive(std::filesystem::path path)
      : path_(std::move(path)), bytes_(read_file(path_)), modified_(std::filesystem::last_write_time(path_)) {}

  void expect_untouched() const {
    EXPECT_EQ(std::filesystem::last_write_time(path_), modified_) << path_;
    EXPECT_TRUE(read_file(path_) == bytes_) << path_ << " was changed";
  }

 private:
  std::filesystem::path path_;
  std::string bytes_;
  std::filesystem::file_time_type modified_;
};

}  // namespace tarvik::test::run
