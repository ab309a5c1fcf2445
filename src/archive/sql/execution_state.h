// What one run of a query holds while it runs, shared by the executor and the cursor that walks
// its joins: the joined tables' stored rows, the row context expressions read, the count's trail
// and the phase the execution is in.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "archive/jet/jet_file.h"
#include "archive/sql/bound_walk.h"
#include "archive/sql/count_trail.h"
#include "archive/sql/evaluate.h"
#include "archive/sql/executor.h"
#include "archive/sql/join_index_cache.h"
#include "archive/sql/leaf_columns.h"

namespace tarvik::archive::sql {

class SpineCursor;

struct Execution::State {
  // Made and ended where the cursor is a whole type (it holds one).
  State(const jet::JetFile& f, const Plan& p, JoinIndexCache* c);
  ~State();

  // Reads a whole table, keeping its stored columns; `each` sees every scanned row first.
  template <typename F>
  void load(std::size_t source, const std::vector<Bound>& own_keys, const F& each) {
    const PlanSource& src = plan.sources[source];
    StoredRows& rows = stored[source];
    jet::TableScan scan = file.scan(src.table);
    std::vector<bool> mask = stored_mask(src);
    for (const Bound& k : own_keys) mark_columns(k, source, mask);
    scan.select_columns(std::move(mask));
    // Every row is kept: room for them all at once spares copying them as the store grows.
    rows.values.reserve(row_count_hint(src.table.row_count) * src.stored_columns.size());
    std::vector<Value> row;
    while (scan.next(row)) {
      ctx.rows[source] = row.data();
      ctx.full[source] = 1;
      each(static_cast<std::int32_t>(rows.count));
      for (std::size_t c : src.stored_columns) rows.values.push_back(std::move(row[c]));
      ++rows.count;
    }
    ctx.rows[source] = nullptr;
    ctx.full[source] = 0;
  }

  // The cursor to its next row that passes WHERE; false at the end.
  bool next_passing();

  void bind_stored(std::size_t source, std::int32_t n) {
    ctx.rows[source] = n < 0 ? nullptr : rows_of[source]->row(static_cast<std::size_t>(n));
    ctx.full[source] = 0;
    row_numbers[source] = n;
  }

  const jet::JetFile& file;
  const Plan& plan;
  JoinIndexCache* cache;  // may be null
  std::vector<StoredRows> stored;  // per source, as loaded by this execution
  std::vector<const StoredRows*> rows_of;  // per source: its stored rows, here or in a kept index
  RowContext ctx;
  std::vector<std::int32_t> row_numbers;  // per source: the stored row bound in ctx
  std::unique_ptr<SpineCursor> top;

  // Each counted row's trail (SpineCursor::append_trail), once a count has run to the end.
  CountTrail trail;
  Execution::Phase phase = Execution::Phase::Unstarted;
  std::optional<bool> selects_leftmost_row;  // decided on the first row read
};

}  // namespace tarvik::archive::sql
