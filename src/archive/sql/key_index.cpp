#include "archive/sql/key_index.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "archive/sql/compare.h"

namespace tarvik::archive::sql {

void KeyIndex::add(std::string_view key, std::int32_t entry) {
  if (by_value_table_) throw std::logic_error("key added to a finished index");
  // The last entry would read as kNone with the mark.
  if (entry < 0 || entry >= 0x7FFFFFFF) throw std::length_error("too many join entries");
  if (next_.size() <= static_cast<std::size_t>(entry)) next_.resize(static_cast<std::size_t>(entry) + 1, -1);
  bool added = false;
  std::uint32_t& holds = keys_.value(key, static_cast<std::uint32_t>(entry) | kOnce, added);
  if (added) return;
  if (holds & kOnce) {
    const auto first = static_cast<std::int32_t>(holds & ~kOnce);
    next_[static_cast<std::size_t>(first)] = entry;
    holds = static_cast<std::uint32_t>(chains_.size());
    chains_.push_back(Chain{first, entry});
    return;
  }
  Chain& chain = chains_[holds];
  next_[static_cast<std::size_t>(chain.last)] = entry;
  chain.last = entry;
}

void KeyIndex::finish() {
  if (by_value_table_ || keys_.size() == 0) return;
  std::int64_t lowest = 0, highest = 0;
  bool whole = true, first = true;
  keys_.for_each([&](std::string_view key, std::uint32_t) {
    const std::optional<std::int64_t> number = whole_number_of_key(key);
    if (!number) {
      whole = false;
    } else if (first) {
      lowest = highest = *number;
      first = false;
    } else {
      lowest = std::min(lowest, *number);
      highest = std::max(highest, *number);
    }
  });
  // At most two cells a key (and a few more for a small table): never more memory than the hash.
  const std::uint64_t span = static_cast<std::uint64_t>(highest) - static_cast<std::uint64_t>(lowest);
  if (!whole || span >= 2 * std::uint64_t(keys_.size()) + 64) return;
  by_value_.assign(static_cast<std::size_t>(span) + 1, KeyNumbers::kNone);
  keys_.for_each([&](std::string_view key, std::uint32_t holds) {
    by_value_[static_cast<std::size_t>(static_cast<std::uint64_t>(*whole_number_of_key(key)) -
                                       static_cast<std::uint64_t>(lowest))] = holds;
  });
  lowest_ = lowest;
  by_value_table_ = true;
  keys_ = KeyNumbers();
}

std::uint32_t KeyIndex::held(std::string_view key) const {
  if (!by_value_table_) return keys_.find(key);
  const std::optional<std::int64_t> number = whole_number_of_key(key);
  if (!number) return KeyNumbers::kNone;  // every key held is a whole number
  const std::uint64_t at = static_cast<std::uint64_t>(*number) - static_cast<std::uint64_t>(lowest_);
  return at < by_value_.size() ? by_value_[static_cast<std::size_t>(at)] : KeyNumbers::kNone;
}

KeyIndex::Chain KeyIndex::chain(std::string_view key) const {
  const std::uint32_t holds = held(key);
  if (holds == KeyNumbers::kNone) return Chain{};
  if (holds & kOnce) {
    const auto entry = static_cast<std::int32_t>(holds & ~kOnce);
    return Chain{entry, entry};
  }
  return chains_[holds];
}

}  // namespace tarvik::archive::sql
