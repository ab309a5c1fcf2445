// Distinct keys numbered 0, 1, 2, ... in the order they are first met. Open addressing over one
// array of slots, the keys' bytes kept end to end in one arena: a look-up costs a hash and mostly
// one slot read, and a key costs its bytes and about two slots of sixteen bytes, never a node of its
// own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::archive::sql {

class KeyNumbers {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;

  // The number of `key`, numbering it when it is new; `added` tells which.
  std::uint32_t number(std::string_view key, bool& added);
  // The number of `key`, or kNone.
  std::uint32_t find(std::string_view key) const;
  std::size_t size() const { return count_; }
  // The memory held, in bytes.
  std::size_t bytes() const { return slots_.capacity() * sizeof(Slot) + arena_.capacity(); }
  // Room for `keys` keys without growing.
  void reserve(std::size_t keys);

 private:
  // Sixteen bytes, so that a look-up's one slot read stays within one cache line.
  struct Slot {
    std::uint32_t tag = 0;         // the hash's high half; its low bits chose the slot
    std::uint32_t number = kNone;  // kNone: the slot is free
    std::uint32_t key_at = 0;      // in arena_
    std::uint32_t key_size = 0;
  };

  std::string_view key_of(const Slot& slot) const {
    return std::string_view(arena_).substr(slot.key_at, slot.key_size);
  }
  std::size_t slot_of(std::string_view key, std::uint64_t hash) const;
  void grow();
  void rehash(std::size_t slot_count);

  // A power of two in size, at most three quarters full: a smaller table misses the cache less
  // often than the probes it saves (measured).
  std::vector<Slot> slots_;
  std::uint32_t count_ = 0;
  std::string arena_;
};

}  // namespace tarvik::archive::sql
