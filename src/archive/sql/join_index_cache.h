// The key indexes of joined tables, kept for the next queries of the same archive: most blocks join
// the same table on the same key (the register on its id), and the archive is open read-only, so
// an index built once stays right. Only indexes of a table joined on plain columns are kept, with
// the columns the query keeps of it, and only the last few built, so memory holds a few tables'
// keys. A query prepared on a second thread shares the cache: its look-ups are locked, and a kept
// index is never changed. Two threads that need the same index at once build it once.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "archive/sql/key_index.h"
#include "archive/value.h"

namespace tarvik::archive::sql {

// Where a row with no column read points: a row context needs an address even then.
const Value* no_columns();

// The stored columns of one table's rows, row after row.
struct StoredRows {
  std::size_t width = 0;
  std::size_t count = 0;
  std::vector<Value> values;

  const Value* row(std::size_t i) const;
};

// The index of a joined table: its keys to its row numbers in physical order, and the columns the
// query reads of its rows.
struct JoinedTable {
  KeyIndex index;
  StoredRows rows;
  // The memory held, in bytes (texts' own storage aside).
  std::size_t bytes() const { return index.bytes() + rows.values.capacity() * sizeof(Value); }
};

// The name an index of a table joined on plain columns is kept under: its table, its key columns
// and the columns kept of its rows.
std::string kept_index_name(std::uint32_t tdef_page, const std::vector<std::size_t>& key_columns,
                            const std::vector<std::size_t>& stored_columns);

// The room made ahead for a table's rows, keys or groups: the definition's row count, a hint,
// capped, as a damaged definition may lie.
inline std::size_t row_count_hint(std::uint32_t row_count) {
  constexpr std::size_t kMostReserved = std::size_t(1) << 18;
  return std::min<std::size_t>(row_count, kMostReserved);
}

class JoinIndexCache {
 public:
  static constexpr std::size_t kKept = 6;
  // The kept indexes other than the newest hold at most this much; the newest is always kept.
  static constexpr std::size_t kBudgetBytes = std::size_t(24) << 20;

  // The index kept under `key` (it becomes the most recently used), or null.
  std::shared_ptr<const JoinedTable> find(const std::string& key);
  // Keeps `table` under `key`, forgetting the least recently used beyond kKept or the budget.
  void keep(const std::string& key, std::shared_ptr<const JoinedTable> table);
  // The index kept under `key`, or else the one `build` makes, which is then kept. While another
  // thread builds the same index this one waits for it rather than reading the table a second
  // time; if that build fails, this thread builds it itself, so an error is met by each thread
  // that needs the index.
  std::shared_ptr<const JoinedTable> find_or_build(const std::string& key,
                                                   const std::function<std::shared_ptr<const JoinedTable>()>& build);
  void clear();

 private:
  std::shared_ptr<const JoinedTable> find_locked(const std::string& key);
  void keep_locked(const std::string& key, std::shared_ptr<const JoinedTable> table);

  // Shared by every thread reading the archive: owned by the archive's state, under mutex_.
  std::mutex mutex_;
  std::condition_variable built_;
  std::vector<std::string> building_;  // the keys of the indexes being built now
  std::list<std::pair<std::string, std::shared_ptr<const JoinedTable>>> entries_;  // most recent first
};

}  // namespace tarvik::archive::sql
