// The row sources behind record sets: a streamed query, a query's kept result, a table's scan.
#pragma once

#include <memory>

#include "archive/recordset.h"
#include "archive/sql/join_index_cache.h"
#include "archive/sql/plan.h"

namespace tarvik::archive {

namespace jet {
class JetFile;
}

// The rows of a planned query: streamed when the plan allows it, otherwise run once and kept.
// Joined tables' indexes come from `cache` and go into it (it must outlive the rows).
std::unique_ptr<RowSource> query_rows(const jet::JetFile& file, std::unique_ptr<sql::Plan> plan,
                                      sql::JoinIndexCache& cache);

// The rows of a table in physical order, every column.
std::unique_ptr<RowSource> table_rows(const jet::JetFile& file, const jet::TableDef& table);

}  // namespace tarvik::archive
