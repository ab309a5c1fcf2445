// Join keys to entries, each key's entries chained in the order they were added: the index of a
// joined table, over KeyNumbers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/sql/key_numbers.h"

namespace tarvik::archive::sql {

class KeyIndex {
 public:
  // Adds `entry` (0, 1, 2, ... in order, each at most once) under `key`.
  void add(std::string_view key, std::int32_t entry);
  // Called once every entry is added, before the first look-up. When every key is one whole number
  // and they fill most of their range (ids, mostly), the index is a table by value: a look-up then
  // reads one four-byte cell of a table of at most eight bytes a key, instead of hashing into
  // sixteen-byte slots, so far more of it stays in the processor's caches.
  void finish();
  // Room for `keys` keys without growing.
  void reserve(std::size_t keys) {
    pending_.reserve(keys);
    reserved_ = keys;
  }
  // Whether the finished index is the table by value.
  bool by_value() const { return by_value_table_; }
  // The memory held, in bytes.
  std::size_t bytes() const {
    return keys_.bytes() + pending_.capacity() * sizeof(Pending) + by_value_.capacity() * sizeof(std::uint32_t) +
           chains_.capacity() * sizeof(Chain) + next_.capacity() * sizeof(std::int32_t);
  }
  // A key's entries: the first and the last (-1 and -1 for a key with none). Both come in one
  // read, so a walk over a key held once (most join keys) ends without reading next_.
  struct Chain {
    std::int32_t first = -1;
    std::int32_t last = -1;
  };
  Chain chain(std::string_view key) const;
  // Asks for the memory a look-up of `key` reads first, ahead of the look-up; then, once that has
  // arrived, for the key's own bytes where they are kept apart. Neither changes anything.
  void prefetch(std::string_view key) const;
  void prefetch_key_bytes(std::string_view key) const {
    if (!by_value_table_) keys_.prefetch_key_bytes(key);
  }
  // The chain of the key a whole number makes (append_whole_number_key), for an index by value:
  // without the key's bytes. Only when by_value().
  Chain chain_of_number(std::int64_t number) const {
    const std::uint32_t* cell = cell_of(number);
    return cell ? chain_held(*cell) : Chain{};
  }
  void prefetch_number(std::int64_t number) const {
    if (const std::uint32_t* cell = cell_of(number)) __builtin_prefetch(cell);
  }
  // The first entry of `key`, or -1.
  std::int32_t first(std::string_view key) const { return chain(key).first; }
  // The entry after `entry` under the same key, or -1.
  std::int32_t after(std::int32_t entry) const { return next_[static_cast<std::size_t>(entry)]; }

 private:
  // A key held once keeps its entry in its hash slot, marked with kOnce, so that finding it
  // reads one slot and nothing else; a key held more often keeps the number of its chain.
  static constexpr std::uint32_t kOnce = 0x80000000;

  // What a key holds: its entry with kOnce, its chain's number, or KeyNumbers::kNone.
  std::uint32_t held(std::string_view key) const;
  // The table by value's cell of `number`, or null outside its range.
  const std::uint32_t* cell_of(std::int64_t number) const {
    const std::uint64_t at = static_cast<std::uint64_t>(number) - static_cast<std::uint64_t>(lowest_);
    return at < by_value_.size() ? &by_value_[static_cast<std::size_t>(at)] : nullptr;
  }
  Chain chain_held(std::uint32_t holds) const {
    if (holds == KeyNumbers::kNone) return Chain{};
    if (holds & kOnce) {
      const auto entry = static_cast<std::int32_t>(holds & ~kOnce);
      return Chain{entry, entry};
    }
    return chains_[holds];
  }
  void add_hashed(std::string_view key, std::int32_t entry);
  // Queues a key for the hash, asking for its slot; the oldest queued goes in when the queue is
  // full, and the rest at finish(), so that keys go in in the order added.
  void queue_hashed(std::string_view key, std::int32_t entry);
  void add_queued();
  // Puts `entry` last under the key that holds `holds`, a key held already.
  void chain_on(std::uint32_t& holds, std::int32_t entry);
  // Sends the keys waiting as whole numbers to the hash, in the order added.
  void hash_pending();
  // Fills the table by value from the keys waiting, from `lowest` to `highest`; false, with nothing
  // kept, when the keys prove too few for their range.
  bool fill_by_value(std::int64_t lowest, std::int64_t highest);

  // Until finish(), keys that are all whole numbers wait here with their entries, in the order
  // added: most join keys are ids, which finish() puts straight into the table by value without
  // hashing them first. The first other key sends them all to the hash.
  struct Pending {
    std::int64_t number;
    std::int32_t entry;
  };
  std::vector<Pending> pending_;
  bool hashing_ = false;
  // Text keys on their way into the hash, a few at a time: each one's slot is asked of memory as it
  // is queued, so a large table's keys go in without each waiting on memory in turn.
  struct Queued {
    std::string key;
    std::int32_t entry = 0;
  };
  static constexpr std::size_t kQueued = 8;
  std::array<Queued, kQueued> queued_;
  std::size_t queued_first_ = 0;
  std::size_t queued_count_ = 0;
  std::size_t reserved_ = 0;

  KeyNumbers keys_;
  // Once finished by value: what each whole number from lowest_ on holds (kNone for none); keys_
  // is then empty.
  bool by_value_table_ = false;
  std::int64_t lowest_ = 0;
  std::vector<std::uint32_t> by_value_;
  std::vector<Chain> chains_;       // per key held more than once
  std::vector<std::int32_t> next_;  // per entry
};

}  // namespace tarvik::archive::sql
