// GROUP BY and COUNT over a walk of the query. Every group is counted in one walk that keeps the
// trail entry of each group's first row; group rows are made only then, each group's key values
// read again from its first row by that entry, and a group is kept only when HAVING holds: memory
// goes to the groups kept, not to every group met.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/sql/execution_state.h"
#include "archive/sql/group_aggregate.h"
#include "archive/sql/groups_ahead.h"

namespace tarvik::archive::sql {

class GroupWalk {
 public:
  // The execution's cursor must stand before its first walked row.
  explicit GroupWalk(Execution::State& st);

  // Walks the query to its end, counting each row in its group.
  void count_rows();
  // The group rows (keys, then counts) that pass HAVING, in the order first met. When HAVING
  // reads no key value, it is decided on the counts alone and only the kept groups' first rows
  // are read again.
  std::vector<std::vector<Value>> kept_groups();

 private:
  // Points keys_ at the current row's group key values.
  void read_keys();
  void note(GroupsAhead::Row& row);
  void settle(const GroupsAhead::Row& row);
  bool having_holds(const std::vector<Value>& row);
  // COUNT over no rows, without GROUP BY, is one row of zeros.
  std::vector<std::vector<Value>> kept_without_rows();

  Execution::State& st_;
  GroupCounts counts_;
  std::vector<Value> scratch_;              // per key
  std::vector<const Value*> keys_;          // the current row's key values
  Value arg_scratch_;
  std::vector<std::int32_t> first_rows_;    // width_ entries per group
  std::size_t width_ = 0;
};

}  // namespace tarvik::archive::sql
