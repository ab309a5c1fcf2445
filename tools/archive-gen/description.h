// The JSON description of an archive: {"tables": [{"name", "columns": [{"name", "type",
// "size", "autonumber"}], "primaryKey": [names], "rows": [[value per column]]}]}. The tables'
// shape is read first; rows are converted one at a time on their way to the writer.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "archive/value.h"
#include "jet_writer.h"

namespace tarvik::archive_gen {

// The table specifications. Throws std::runtime_error naming the table (and column) at fault.
std::vector<TableSpec> table_specs_from_json(const nlohmann::json& description);

// Row `row_index` (from 0) of `table` as values in column order. Throws std::runtime_error
// naming table, row (from 1) and column.
std::vector<archive::Value> row_from_json(const TableSpec& table, const nlohmann::json& row,
                                          std::size_t row_index);

// Writes the archive a description describes. Throws std::runtime_error on a bad description;
// no file is left behind then.
void write_archive(const nlohmann::json& description, const std::string& out_path,
                   WriterOptions options = {});

}  // namespace tarvik::archive_gen
