#include "archive/sql/key_index.h"

#include <stdexcept>

namespace tarvik::archive::sql {

void KeyIndex::add(std::string_view key, std::int32_t entry) {
  // The last entry would read as kNone with the mark.
  if (entry < 0 || entry >= 0x7FFFFFFF) throw std::length_error("too many join entries");
  if (next_.size() <= static_cast<std::size_t>(entry)) next_.resize(static_cast<std::size_t>(entry) + 1, -1);
  bool added = false;
  std::uint32_t& held = keys_.value(key, static_cast<std::uint32_t>(entry) | kOnce, added);
  if (added) return;
  if (held & kOnce) {
    const auto first = static_cast<std::int32_t>(held & ~kOnce);
    next_[static_cast<std::size_t>(first)] = entry;
    held = static_cast<std::uint32_t>(chains_.size());
    chains_.push_back(Chain{first, entry});
    return;
  }
  Chain& chain = chains_[held];
  next_[static_cast<std::size_t>(chain.last)] = entry;
  chain.last = entry;
}

KeyIndex::Chain KeyIndex::chain(std::string_view key) const {
  const std::uint32_t held = keys_.find(key);
  if (held == KeyNumbers::kNone) return Chain{};
  if (held & kOnce) {
    const auto entry = static_cast<std::int32_t>(held & ~kOnce);
    return Chain{entry, entry};
  }
  return chains_[held];
}

}  // namespace tarvik::archive::sql
