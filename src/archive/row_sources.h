// The row sources behind record sets: a streamed query, a query's kept result, a table's scan.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "archive/jet/table_def.h"
#include "archive/unmatched_rows.h"
#include "archive/value.h"
#include "archive/sql/join_index_cache.h"
#include "archive/sql/plan.h"

namespace tarvik::archive {

namespace jet {
class JetFile;
}

// Where the rows of a set come from; one implementation per kind of set.
class RowSource {
 public:
  virtual ~RowSource() = default;
  // Back before the first row.
  virtual void restart() = 0;
  // To the next row; false at the end.
  virtual bool next() = 0;
  // The values of the current row, one per field: the source's own, valid until it moves (no
  // copy per row).
  virtual const std::vector<Value>& row() = 0;
  // The row count when it is known without moving (a kept result), else none.
  virtual std::optional<std::int64_t> known_count() const { return std::nullopt; }
  // Counts every row the cheapest way it can; leaves the source to be restarted.
  virtual std::int64_t count_all() = 0;
  // A streamed query's leftmost rows that gave it no row, taken out, once a walk has run to its end.
  virtual std::optional<UnmatchedRows> take_unmatched() { return std::nullopt; }
};

// The rows of a planned query: streamed when the plan allows it, otherwise run once and kept.
// Joined tables' indexes come from `cache` and go into it (it must outlive the rows).
std::unique_ptr<RowSource> query_rows(const jet::JetFile& file, std::unique_ptr<sql::Plan> plan,
                                      sql::JoinIndexCache& cache);

// The rows of a plan of one table without WHERE, read only at `pointers` (its rows' pointers, as
// UnmatchedRows notes them), in that order.
std::unique_ptr<RowSource> query_rows_at(const jet::JetFile& file, std::unique_ptr<sql::Plan> plan,
                                         const std::vector<std::uint32_t>& pointers);

// The rows of a table in physical order, every column.
std::unique_ptr<RowSource> table_rows(const jet::JetFile& file, const jet::TableDef& table);

}  // namespace tarvik::archive
