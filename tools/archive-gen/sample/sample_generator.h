// Generates a whole Tarvik sample archive into a row sink, table after table, and tells how many
// rows each table got.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive-gen/jet_writer.h"
#include "row_sink.h"
#include "sample_options.h"
#include "tarvik_schema.h"

namespace tarvik::archive_gen::sample {

struct TableRowCount {
  std::string table;
  std::uint64_t rows = 0;
};

// `schema` must be tarvik_schema(options.outdated). Rows go to `sink` one at a time; nothing is
// kept. Returns the row count of every table, in schema order.
std::vector<TableRowCount> generate_sample(const SampleOptions& options, const SampleSchema& schema, RowSink& sink);

// Writes the sample archive `options` ask for (format, layout, texts) at options.output_path, each
// row first passed to `edit` when given (a test's changes: rows left out, rows deleted); returns the
// row counts. Throws std::runtime_error when it cannot be written; no file is left then.
class RowEditor;
std::vector<TableRowCount> write_sample_archive(const SampleOptions& options, RowEditor* edit = nullptr);

// Sees every row on its way to the archive and decides what the archive holds of it.
class RowEditor {
 public:
  virtual ~RowEditor() = default;
  // Called for each generated row; `writer` takes what the archive gets (add_row for the row as
  // it is, add_deleted_row for a deleted one, both, or nothing).
  virtual void edit(JetWriter& writer, std::size_t table, std::span<const archive::Value> row) = 0;
};

}  // namespace tarvik::archive_gen::sample
