// Generates a whole Tarvik sample archive into a row sink, table after table, and tells how many
// rows each table got.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

}  // namespace tarvik::archive_gen::sample
