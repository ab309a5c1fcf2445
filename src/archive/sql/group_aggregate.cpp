#include "archive/sql/group_aggregate.h"

#include <algorithm>

#include "archive/sql/compare.h"

namespace tarvik::archive::sql {

const std::string& GroupCounts::key_of(const std::vector<const Value*>& keys) {
  key_.clear();
  for (const Value* v : keys) append_key(key_, *v, order_);
  return key_;
}

std::uint32_t GroupCounts::group(const std::vector<const Value*>& keys) { return group_of_key(key_of(keys)); }

std::uint32_t GroupCounts::group_of_key(std::string_view key) {
  bool added = false;
  const std::uint32_t n = numbers_.number(key, added);
  if (added) counts_.resize(counts_.size() + aggregate_count_, 0);
  return n;
}

std::uint32_t GroupCounts::find(const std::vector<const Value*>& keys) { return numbers_.find(key_of(keys)); }

std::vector<Value> GroupCounts::row(std::uint32_t group, const std::vector<const Value*>& keys) const {
  std::vector<Value> row;
  fill_row(group, keys, row);
  return row;
}

void GroupCounts::fill_row(std::uint32_t group, const std::vector<const Value*>& keys, std::vector<Value>& row) const {
  row.resize(keys.size() + aggregate_count_);
  for (std::size_t k = 0; k < keys.size(); ++k) row[k] = *keys[k];
  for (std::size_t a = 0; a < aggregate_count_; ++a)
    row[keys.size() + a] = Value::long_(counts_[group * aggregate_count_ + a]);
}

void sort_groups(std::vector<std::vector<Value>>& rows, std::size_t key_count, TextOrder order) {
  std::stable_sort(rows.begin(), rows.end(), [key_count, order](const std::vector<Value>& a, const std::vector<Value>& b) {
    for (std::size_t i = 0; i < key_count; ++i) {
      const int c = compare_for_sort(a[i], b[i], order);
      if (c != 0) return c < 0;
    }
    return false;
  });
}

}  // namespace tarvik::archive::sql
