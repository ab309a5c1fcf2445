// The archive engine's face: an archive opened exclusively and read-only, and the record sets
// opened on it, the way the exporters use DAO with the Jet engine.
//
// Exclusive: opening takes an exclusive lock on a read-only handle of the file (platform's
// ArchiveLock), held until the archive is closed. A second open of the same file, from this process
// or another, fails with 3045 while the lock is held. The lock is advisory: it keeps out other
// exports, not programs that do not ask for it. Nothing is ever written to the file.
//
// Threads: every call here and on SideReads (side_reads.h) may be made from two threads at once,
// each on record sets of its own (a record set is used by one thread at a time); the engine locks
// what they share. close() is called when no other thread reads any more. Which thread reads what,
// and when, is the caller's business: the engine knows no schedule.
//
// What a query means (the engine's promise, the way Jet answers the queries the exporters send):
// - Text compares without regard to letter case, by Jet's General sort order (sql/collation.h),
//   in joins, WHERE, GROUP BY, DISTINCT and ORDER BY. Numbers compare by value whatever their
//   width (Byte, Integer, Long, Single, Double, Currency; a Yes/No counts as -1 or 0, a date as
//   its day count). Text compared with a number is a type mismatch (3464; 3615 in a join).
// - A null never matches in a join; a comparison with a null is not true, so WHERE and HAVING
//   drop the row; IS NULL and IS NOT NULL test for it; LEN(null) is null.
// - Order without ORDER BY: the physical order of the leftmost table of the FROM clause, each of
//   its rows followed by its matches in the physical order of the joined table (for nested joins,
//   join by join from the innermost). A LEFT JOIN row without a match comes once, with nulls.
// - GROUP BY returns one row per group sorted by the group keys; DISTINCT returns its rows sorted
//   by all their columns; in both, nulls first and text without regard to case (of the texts equal
//   but for case, the first met in the order above stands for them). COUNT over no rows, without
//   GROUP BY, is one row holding 0.
// - ORDER BY sorts nulls first (last when DESC) and is stable: rows with equal keys keep the order
//   they had without it.
// - Types: a selected column keeps its column's type (Yes/No as boolean, Byte as byte, Integer
//   16-bit, Long 32-bit, Single, Double, Currency, Date/Time, Text and Memo as text); COUNT and LEN
//   are Long. A selected column is named as its column; when two tables give the same name, each
//   is named "Table.Column"; an expression without AS is named Expr1000 plus its position.
// - A name the tables lack is a parameter to Jet: 3061 "Parametri insufficienti. Previsto N.",
//   N counting the distinct unknown names; a missing table is 3078. Jet SQL outside the subset
//   the parser describes (sql/parser.h) is refused with an error naming it (3251), never read
//   loosely.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archive/recordset.h"
#include "archive/sql/collation.h"

namespace tarvik::archive {

namespace sql {
struct Plan;
}
class ReadySnapshots;
class RowSource;

class Database {
 public:
  // Opens the archive exclusively and read-only. Throws ArchiveError: 3024 missing, 3051
  // unreadable, 3045 already open by another export, 3343 not a Jet archive, 3049 damaged.
  static std::unique_ptr<Database> open(const std::string& path);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // A snapshot on a SELECT statement in Jet's dialect.
  std::unique_ptr<Recordset> open_snapshot(std::string_view sql);
  // Checks a SELECT statement as opening a snapshot on it does, without reading a row: the errors
  // of its text and its names (3078 for a missing table, 3061 for a missing column), none that
  // only its rows could meet.
  void check_statement(std::string_view sql) const;
  // A table-kind set on a table, its name matched without regard to case (3078 when none).
  std::unique_ptr<Recordset> open_table(std::string_view name);

  // Closes the archive and releases its lock; record sets still open become unusable (3420).
  void close();

  // Whether the archive is in the Jet3 format (Access 97), whose texts take a byte a character.
  bool jet3() const;
  // How the archive's text compares: its own engine's General order (collation.h).
  sql::TextOrder text_order() const;

 private:
  friend class SideReads;
  explicit Database(std::shared_ptr<DatabaseState> state);
  std::unique_ptr<Recordset> open_snapshot_here(std::string_view sql);
  // A snapshot on the plan of `sql`, its rows from `rows_of` the plan.
  using RowsOf = std::function<std::unique_ptr<RowSource>(std::unique_ptr<sql::Plan>)>;
  std::unique_ptr<Recordset> snapshot(std::string_view sql, const RowsOf& rows_of);
  std::shared_ptr<DatabaseState> state_;
  ReadySnapshots* ready_ = nullptr;  // set by SideReads before a second thread reads
};

}  // namespace tarvik::archive
