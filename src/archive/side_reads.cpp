#include "archive/side_reads.h"

#include "archive/archive_error.h"
#include "archive/database_state.h"
#include "archive/row_sources.h"
#include "archive/sql/column_index.h"

namespace tarvik::archive {

namespace {

// The column of `table` named `column`, by its position; null when the table has none.
std::optional<std::size_t> column_position(const jet::TableDef& table, std::string_view column) {
  const jet::Column* wanted = table.find_column(column);
  if (wanted == nullptr) return std::nullopt;
  return static_cast<std::size_t>(wanted - table.columns.data());
}

}  // namespace

std::unique_ptr<Recordset> SideReads::open_snapshot_at(std::string_view sql_text,
                                                      const std::vector<std::uint32_t>& pointers) {
  DatabaseState& state = *archive_.state_;
  if (state.closed) throw errors::object_closed();
  return archive_.snapshot(sql_text, [&state, &pointers](std::unique_ptr<sql::Plan> plan) {
    return query_rows_at(*state.file, std::move(plan), pointers);
  });
}

std::unique_ptr<Recordset> SideReads::open_counted_snapshot(std::string_view sql_text) {
  if (archive_.state_->closed) throw errors::object_closed();
  std::unique_ptr<Recordset> records = archive_.open_snapshot_here(sql_text);
  records->count_ahead();
  return records;
}

void SideReads::take_ready_snapshots_from(ReadySnapshots* ready) { archive_.ready_ = ready; }

bool SideReads::has_unique_index(std::string_view table, std::string_view column) const {
  const DatabaseState& state = *archive_.state_;
  if (state.closed) throw errors::object_closed();
  const jet::TableDef def = state.file->table(table);
  const std::optional<std::size_t> position = column_position(def, column);
  if (!position) return false;
  for (const jet::Index& index : def.indexes)
    if ((index.primary_key || index.unique) && index.columns.size() == 1 && index.columns[0].column == *position)
      return true;
  return false;
}

KeyLookup SideReads::key_lookup(std::string_view table, std::string_view column) {
  DatabaseState& state = *archive_.state_;
  if (state.closed) throw errors::object_closed();
  const jet::TableDef def = state.file->table(table);
  const std::optional<std::size_t> position = column_position(def, column);
  if (!position) throw errors::item_not_found(column);
  return KeyLookup(sql::column_index(*state.file, def, *position, state.join_indexes),
                   sql::text_order_of(state.file->header()));
}

}  // namespace tarvik::archive
