// A record set: the rows of a query (a snapshot) or of a whole table (a table-kind set), read
// through a current row that moves forward.
//
// As in DAO: on an empty set BOF and EOF are both true; otherwise the first row is current after
// opening. move_next past the last row reaches EOF; a move or a field read without a current row
// raises 3021. record_count counts the rows reached so far on a snapshot, and is exact once
// move_last has run (move_last, move_first is how EnsureCount makes it exact); on a table-kind
// set it is always exact. Fields are found by name without regard to case (3265 otherwise).
//
// Moving costs no column decoding beyond what WHERE and the joins need: a row's values are
// computed only when a field of it is read. A snapshot without GROUP BY, COUNT, DISTINCT or
// ORDER BY is not copied: move_first runs its query again from the start (the archive is open
// exclusively and read-only, so the rows are the same); the others keep their result rows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/field_type.h"
#include "archive/unmatched_rows.h"
#include "archive/value.h"

namespace tarvik::archive {

struct DatabaseState;
class RowSource;    // row_sources.h
struct TableState;  // table_state.h

class Recordset {
 public:
  enum class Kind { Snapshot, Table };

  // Used by Database; `table` is set for a table-kind set.
  Recordset(std::shared_ptr<DatabaseState> db, Kind kind, std::vector<FieldInfo> fields,
            std::unique_ptr<RowSource> rows, std::unique_ptr<TableState> table);
  ~Recordset();
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  Kind kind() const { return kind_; }
  bool bof() const;
  bool eof() const;
  void move_first();
  void move_last();
  void move_next();
  std::int32_t record_count();

  const std::vector<FieldInfo>& fields() const { return fields_; }
  // The position of a field, found by name without regard to case (3265 when none). Readers that
  // take many rows bind their fields once and read them by position.
  std::size_t field_index(std::string_view name) const;
  // The value of a field of the current row.
  const Value& field(std::string_view name);
  const Value& field(std::size_t index);
  // Every field's value of the current row, by position, valid until the next move: for readers
  // that take whole rows, one call a row instead of one a field.
  const std::vector<Value>& values();

  // Table-kind sets only (3251 on a snapshot). Chooses the index that seek uses (3015 when the
  // table has none of that name). Moves are not offered once an index is chosen (3251): Jet would
  // move in index order.
  void set_index(std::string_view name);
  // Finds the first row, in physical order, whose index key equals `key` (one value per index
  // column) and makes it current. `comparison` must be "=". A null in the key finds nothing. The
  // first seek on an index reads the table once into an in-memory hash kept by the open archive,
  // so later seeks, from this set or another, cost a hash look-up; the row found is read directly
  // by its pointer when a field of it is read.
  void seek(std::string_view comparison, const std::vector<Value>& key);
  bool no_match() const;

  void close();
  // A snapshot's leftmost rows that gave it no row, taken out, once its rows have been walked (or
  // counted) to the end; none before, on a table-kind set, and once taken.
  std::optional<UnmatchedRows> take_unmatched_rows();

  // Counts the rows now without showing it: record_count still counts the rows reached, and the
  // next move_last finds the count made. For a set opened ahead on another thread.
  void count_ahead();

 private:
  void check_open() const;
  void check_moves() const;
  // Brings the row source to row `position` (0-based).
  void reach(std::int64_t position);
  const std::vector<Value>& current();

  std::shared_ptr<DatabaseState> db_;
  Kind kind_;
  std::vector<FieldInfo> fields_;
  std::unique_ptr<RowSource> rows_;
  std::unique_ptr<TableState> table_;  // a table-kind set's definition, chosen index and seek reader
  bool index_chosen_ = false;
  bool closed_ = false;

  bool empty_ = false;
  bool eof_ = false;
  bool no_match_ = false;
  std::int64_t position_ = 0;          // the current row
  std::int64_t source_position_ = -1;  // the row the source stands on; -1 before the first
  bool source_done_ = false;           // the source has passed its last row
  std::int64_t reached_ = 0;           // rows reached so far
  std::optional<std::int64_t> count_;  // exact count, once known
  // The current row's values once asked for: the source's own row, which stays as it is until
  // the source moves, and the source moves only when another row is asked for.
  const std::vector<Value>* current_ = nullptr;
  std::vector<Value> sought_row_;  // the row found by a seek, read by its pointer

  // Callers ask for the same names in the same order on every row: the n-th name asked for since
  // the last move is remembered with its position, so a repeated sequence costs one comparison
  // of the exact name per field instead of a search without regard to case.
  struct NameHint {
    std::string name;
    std::size_t index;
  };
  std::vector<NameHint> name_hints_;
  std::size_t next_hint_ = 0;
  void row_changed() {
    current_ = nullptr;
    next_hint_ = 0;
  }
  std::optional<std::uint32_t> sought_;  // the row found by the last seek
};

}  // namespace tarvik::archive
