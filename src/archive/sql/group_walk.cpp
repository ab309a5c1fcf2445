#include "archive/sql/group_walk.h"

#include "archive/sql/bound_walk.h"
#include "archive/sql/spine_cursor.h"

namespace tarvik::archive::sql {

GroupWalk::GroupWalk(Execution::State& st)
    : st_(st),
      counts_(st.plan.aggregates.size(), st.ctx.text_order),
      scratch_(st.plan.group_keys.size()),
      keys_(st.plan.group_keys.size()),
      width_(st.top->trail_width()) {
  // Mostly a group a row of the table read first (item and supplier pairs): room for its rows
  // spares rehashing every key as the groups grow.
  counts_.reserve(row_count_hint(st.plan.sources.front().table.row_count));
}

void GroupWalk::read_keys() {
  for (std::size_t k = 0; k < keys_.size(); ++k) keys_[k] = &operand(st_.plan.group_keys[k], st_.ctx, scratch_[k]);
}

void GroupWalk::count_rows() {
  GroupsAhead ahead;
  const auto settle = [this](const GroupsAhead::Row& row) { this->settle(row); };
  while (st_.next_passing()) {
    read_keys();
    note(ahead.slot(settle));
    ahead.push();
  }
  ahead.drain(settle);
}

void GroupWalk::note(GroupsAhead::Row& row) {
  row.key = counts_.key_of(keys_);
  row.trail.clear();
  st_.top->append_trail(row.trail);
  const std::vector<AggregateSpec>& aggregates = st_.plan.aggregates;
  row.counted.resize(aggregates.size());
  for (std::size_t a = 0; a < aggregates.size(); ++a) {
    row.counted[a] = aggregates[a].star || !operand(aggregates[a].arg, st_.ctx, arg_scratch_).is_null();
  }
  counts_.prefetch(row.key);
}

void GroupWalk::settle(const GroupsAhead::Row& row) {
  const std::uint32_t group = counts_.group_of_key(row.key);
  if (group == first_rows_.size() / width_) first_rows_.insert(first_rows_.end(), row.trail.begin(), row.trail.end());
  for (std::size_t a = 0; a < row.counted.size(); ++a)
    if (row.counted[a]) counts_.count(group, a);
}

bool GroupWalk::having_holds(const std::vector<Value>& row) {
  const std::optional<Bound>& having = st_.plan.having;
  if (!having) return true;
  st_.ctx.group = row.data();
  const bool holds = truth(*having, st_.ctx) == Truth::True;
  st_.ctx.group = nullptr;
  return holds;
}

std::vector<std::vector<Value>> GroupWalk::kept_without_rows() {
  std::vector<std::vector<Value>> kept;
  if (!keys_.empty()) return kept;
  std::vector<Value> row = counts_.row(counts_.group(keys_), keys_);
  if (having_holds(row)) kept.push_back(std::move(row));
  return kept;
}

std::vector<std::vector<Value>> GroupWalk::kept_groups() {
  if (counts_.size() == 0) return kept_without_rows();
  const std::optional<Bound>& having = st_.plan.having;
  // A HAVING that reads only counts is decided before the group's first row is read again.
  const bool decide_on_counts = having && !reads_group_keys(*having, keys_.size());
  const Value null_value;
  const std::vector<const Value*> no_keys(keys_.size(), &null_value);
  std::vector<Value> counts_only;  // a group row without its keys, for such a HAVING
  std::vector<std::vector<Value>> kept;
  for (std::uint32_t group = 0; group < counts_.size(); ++group) {
    if (decide_on_counts) {
      counts_.fill_row(group, no_keys, counts_only);
      if (!having_holds(counts_only)) continue;
    }
    st_.top->replay(first_rows_.data() + std::size_t(group) * width_);
    read_keys();
    std::vector<Value> row = counts_.row(group, keys_);
    if (decide_on_counts || having_holds(row)) kept.push_back(std::move(row));
  }
  return kept;
}

}  // namespace tarvik::archive::sql
