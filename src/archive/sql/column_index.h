// The index of a table's rows by one plain column, keeping none of their columns: the index a join
// on that column builds, kept under the same name, so that a join and a look-up by value share it.
#pragma once

#include <cstddef>
#include <memory>

#include "archive/jet/jet_file.h"
#include "archive/sql/join_index_cache.h"

namespace tarvik::archive::sql {

// Taken from `cache` when a join (or an earlier call) built it, otherwise built and kept there.
std::shared_ptr<const JoinedTable> column_index(const jet::JetFile& file, const jet::TableDef& table,
                                                std::size_t column, JoinIndexCache& cache);

}  // namespace tarvik::archive::sql
