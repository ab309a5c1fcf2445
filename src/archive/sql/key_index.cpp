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
  if (!hashing_) {
    if (const std::optional<std::int64_t> number = whole_number_of_key(key)) {
      pending_.push_back(Pending{*number, entry});
      return;
    }
    hash_pending();
  }
  queue_hashed(key, entry);
}

void KeyIndex::queue_hashed(std::string_view key, std::int32_t entry) {
  if (queued_count_ == kQueued) add_queued();
  Queued& last = queued_[(queued_first_ + queued_count_) % kQueued];
  last.key.assign(key);
  last.entry = entry;
  ++queued_count_;
  keys_.prefetch(key);
}

void KeyIndex::add_queued() {
  const Queued& first = queued_[queued_first_];
  add_hashed(first.key, first.entry);
  queued_first_ = (queued_first_ + 1) % kQueued;
  --queued_count_;
}

void KeyIndex::add_hashed(std::string_view key, std::int32_t entry) {
  bool added = false;
  std::uint32_t& holds = keys_.value(key, static_cast<std::uint32_t>(entry) | kOnce, added);
  if (!added) chain_on(holds, entry);
}

void KeyIndex::chain_on(std::uint32_t& holds, std::int32_t entry) {
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

void KeyIndex::hash_pending() {
  hashing_ = true;
  keys_.reserve(std::max(reserved_, pending_.size()));
  std::string key;
  for (const Pending& p : pending_) {
    key.clear();
    append_whole_number_key(key, p.number);
    add_hashed(key, p.entry);
  }
  pending_ = std::vector<Pending>();
}

bool KeyIndex::fill_by_value(std::int64_t lowest, std::int64_t highest) {
  const std::uint64_t span = static_cast<std::uint64_t>(highest) - static_cast<std::uint64_t>(lowest);
  // At most two cells a key (and a few more for a small table): never more memory than the hash.
  // The entries bound the keys from above; the keys themselves are counted as they are filled in.
  if (span >= 2 * std::uint64_t(pending_.size()) + 64) return false;
  by_value_.assign(static_cast<std::size_t>(span) + 1, KeyNumbers::kNone);
  std::size_t keys = 0;
  for (const Pending& p : pending_) {
    std::uint32_t& holds =
        by_value_[static_cast<std::size_t>(static_cast<std::uint64_t>(p.number) - static_cast<std::uint64_t>(lowest))];
    if (holds == KeyNumbers::kNone) {
      holds = static_cast<std::uint32_t>(p.entry) | kOnce;
      ++keys;
    } else {
      chain_on(holds, p.entry);
    }
  }
  if (span < 2 * std::uint64_t(keys) + 64) return true;
  by_value_ = std::vector<std::uint32_t>();
  chains_.clear();
  std::fill(next_.begin(), next_.end(), -1);
  return false;
}

void KeyIndex::finish() {
  if (by_value_table_) return;
  while (queued_count_ > 0) add_queued();
  if (!hashing_) {
    if (pending_.empty()) return;
    std::int64_t lowest = pending_.front().number, highest = lowest;
    for (const Pending& p : pending_) {
      lowest = std::min(lowest, p.number);
      highest = std::max(highest, p.number);
    }
    if (fill_by_value(lowest, highest)) {
      lowest_ = lowest;
      by_value_table_ = true;
      pending_ = std::vector<Pending>();
      return;
    }
    hash_pending();  // whole numbers too sparse for a table by value
  }
}

std::uint32_t KeyIndex::held(std::string_view key) const {
  if (!pending_.empty() || queued_count_ > 0) throw std::logic_error("look-up in an unfinished index");
  if (!by_value_table_) return keys_.find(key);
  const std::optional<std::int64_t> number = whole_number_of_key(key);
  if (!number) return KeyNumbers::kNone;  // every key held is a whole number
  const std::uint32_t* cell = cell_of(*number);
  return cell ? *cell : KeyNumbers::kNone;
}

void KeyIndex::prefetch(std::string_view key) const {
  if (!by_value_table_) {
    keys_.prefetch(key);
  } else if (const std::optional<std::int64_t> number = whole_number_of_key(key)) {
    prefetch_number(*number);
  }
}

KeyIndex::Chain KeyIndex::chain(std::string_view key) const { return chain_held(held(key)); }

}  // namespace tarvik::archive::sql
