// Checks the declared tables before anything is written: names, column count, types the
// writer stores, text sizes, autonumber and primary-key columns. Messages name the table and
// the column.
#pragma once

#include <vector>

#include "jet_writer.h"

namespace tarvik::archive_gen {

// Throws std::runtime_error on the first problem found.
// A Jet3 archive keeps names in Windows-1252.
void check_table_specs(const std::vector<TableSpec>& tables, const WriteFormat& format);

// Positions of the primary-key columns of a checked table, in key order.
std::vector<std::size_t> primary_key_columns(const TableSpec& table);

}  // namespace tarvik::archive_gen
