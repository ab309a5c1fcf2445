#include "archive/sql/key_index.h"

namespace tarvik::archive::sql {

void KeyIndex::add(std::string_view key, std::int32_t entry) {
  if (next_.size() <= static_cast<std::size_t>(entry)) next_.resize(static_cast<std::size_t>(entry) + 1, -1);
  bool added = false;
  const std::uint32_t n = keys_.number(key, added);
  if (added) {
    chains_.push_back(Chain{entry, entry});
    return;
  }
  next_[static_cast<std::size_t>(chains_[n].last)] = entry;
  chains_[n].last = entry;
}

KeyIndex::Chain KeyIndex::chain(std::string_view key) const {
  const std::uint32_t n = keys_.find(key);
  return n == KeyNumbers::kNone ? Chain{} : chains_[n];
}

}  // namespace tarvik::archive::sql
