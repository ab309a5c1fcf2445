// GROUP BY and COUNT as a hash aggregate. Groups are numbered in the order they are first met, and
// the first row met of a group gives its key values (so the first of the texts equal but for case
// stands for them). Sorting is left to the caller, who sorts only the groups it keeps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/sql/collation.h"
#include "archive/sql/key_numbers.h"
#include "archive/value.h"

namespace tarvik::archive::sql {

// The counts of every group, by key; a group costs its key's bytes, its slots and its counts, not
// its key values.
class GroupCounts {
 public:
  GroupCounts(std::size_t aggregate_count, TextOrder order) : aggregate_count_(aggregate_count), order_(order) {}

  // The group of a row whose group key values are `keys`, numbered when first met.
  std::uint32_t group(const std::vector<const Value*>& keys);
  // The same in two steps: the key of `keys` (valid until the next call), then its group.
  const std::string& key_of(const std::vector<const Value*>& keys);
  std::uint32_t group_of_key(std::string_view key);
  // Asks for the memory the group of `key` is looked up in, ahead of the look-up.
  void prefetch(std::string_view key) const { numbers_.prefetch(key); }
  // The group of `keys`, or KeyNumbers::kNone when it was never met.
  std::uint32_t find(const std::vector<const Value*>& keys);
  void count(std::uint32_t group, std::size_t aggregate) { ++counts_[group * aggregate_count_ + aggregate]; }

  std::size_t size() const { return numbers_.size(); }
  // Room for `groups` groups without growing.
  void reserve(std::size_t groups) {
    numbers_.reserve(groups);
    counts_.reserve(groups * aggregate_count_);
  }
  // The group row of `group`: its key values, then its counts as Long.
  std::vector<Value> row(std::uint32_t group, const std::vector<const Value*>& keys) const;
  // The same into `row`, reusing its storage.
  void fill_row(std::uint32_t group, const std::vector<const Value*>& keys, std::vector<Value>& row) const;

 private:
  std::size_t aggregate_count_;
  TextOrder order_;
  KeyNumbers numbers_;
  std::vector<std::int32_t> counts_;  // aggregate_count_ per group
  std::string key_;
};

// Sorts group rows by their first `key_count` values (nulls first, text by the archive's order),
// stably.
void sort_groups(std::vector<std::vector<Value>>& rows, std::size_t key_count, TextOrder order);

}  // namespace tarvik::archive::sql
