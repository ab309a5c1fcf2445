// What the run reads of the archive beside the exporters' DAO-shaped use of it: the report's
// look-ups of what a block left out, and the run's work ahead (sets opened and counted before
// they are asked for). A face of its own, so that database.h stays the face the exporters know.
// Every call here, like those of Database, may be made from either thread of a run.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "archive/database.h"
#include "archive/key_lookup.h"
#include "archive/ready_snapshots.h"
#include "archive/recordset.h"

namespace tarvik::archive {

class SideReads {
 public:
  explicit SideReads(Database& archive) : archive_(archive) {}

  // A snapshot on a SELECT of one table's columns, without WHERE, that reads only the rows at
  // `pointers` (as a snapshot's unmatched_rows notes them), in that order.
  std::unique_ptr<Recordset> open_snapshot_at(std::string_view sql, const std::vector<std::uint32_t>& pointers);
  // A snapshot opened and its rows counted, as a caller finds it ready: it stands where a fresh
  // one stands, and its count becomes exact only on move_last, which then costs nothing.
  std::unique_ptr<Recordset> open_counted_snapshot(std::string_view sql);
  // Where open_snapshot looks first for a set opened ahead (null: nowhere). Set while no other
  // thread reads the archive; `ready` must outlive its use.
  void take_ready_snapshots_from(ReadySnapshots* ready);

  // Whether the table has a unique index (its primary key or another) on exactly this one column,
  // so that a join on it finds at most one row. Throws 3078 for a missing table.
  bool has_unique_index(std::string_view table, std::string_view column) const;
  // Look-ups by value among the rows of `table` by `column`, as a join on that column matches
  // (3078 for a missing table, 3265 for a missing column). The index is the one such a join
  // builds: taken from the joins' kept indexes when one built it, otherwise built and kept there.
  KeyLookup key_lookup(std::string_view table, std::string_view column);

 private:
  Database& archive_;
};

}  // namespace tarvik::archive
