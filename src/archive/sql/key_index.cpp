#include "archive/sql/key_index.h"

namespace tarvik::archive::sql {

void KeyIndex::add(std::string_view key, std::int32_t entry) {
  if (next_.size() <= static_cast<std::size_t>(entry)) next_.resize(static_cast<std::size_t>(entry) + 1, -1);
  bool added = false;
  const std::uint32_t n = keys_.number(key, added);
  if (added) {
    head_.push_back(entry);
    tail_.push_back(entry);
    return;
  }
  next_[static_cast<std::size_t>(tail_[n])] = entry;
  tail_[n] = entry;
}

std::int32_t KeyIndex::first(std::string_view key) const {
  const std::uint32_t n = keys_.find(key);
  return n == KeyNumbers::kNone ? -1 : head_[n];
}

}  // namespace tarvik::archive::sql
