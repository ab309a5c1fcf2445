// Distinct keys numbered 0, 1, 2, ... in the order they are first met. Open addressing over one
// array of slots: a key of up to seven bytes (an id's) sits in its slot, a longer one end to end
// with the others in one arena. A look-up costs a hash and mostly one slot read (and, for a long
// key, one read of its bytes); a key costs about two slots of sixteen bytes, and a long one its
// bytes, never a node of its own.
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
  // The same map with values of the caller's choice instead of numbers: the value held for `key`,
  // which is `value_if_new` when the key is new. The reference lasts until the next key is added.
  // A value must not be kNone.
  std::uint32_t& value(std::string_view key, std::uint32_t value_if_new, bool& added);
  // The number (or value) of `key`, or kNone.
  std::uint32_t find(std::string_view key) const;
  // Asks for the slot a look-up of `key` reads first; then, once it has arrived, for the bytes of
  // the long key it holds, if any. Neither changes anything.
  void prefetch(std::string_view key) const;
  void prefetch_key_bytes(std::string_view key) const;
  std::size_t size() const { return count_; }
  // The memory held, in bytes.
  std::size_t bytes() const { return slots_.capacity() * sizeof(Slot) + arena_.capacity(); }
  // Room for `keys` keys without growing.
  void reserve(std::size_t keys);
  // Calls `f(key, value)` for every key, in no particular order.
  template <typename F>
  void for_each(const F& f) const {
    char bytes[kMostInline];
    for (const Slot& slot : slots_) {
      if (slot.number != kNone) f(key_of(slot, bytes), slot.number);
    }
  }

 private:
  static constexpr std::size_t kMostInline = 7;
  static constexpr std::uint64_t kInlineMark = std::uint64_t(0x80) << 56;

  // Sixteen bytes, so that a look-up's one slot read stays within one cache line.
  struct Slot {
    std::uint32_t tag = 0;         // the hash's high half; its low bits chose the slot
    std::uint32_t number = kNone;  // or the caller's value; kNone: the slot is free
    // A short key: its bytes, then its size with the top bit set in the last byte. A long key:
    // its place in arena_ in the low half, its size in the high half (top bit clear).
    std::uint64_t place = 0;
  };

  // The `place` a key of at most kMostInline bytes has in its slot.
  static std::uint64_t inline_place(std::string_view key);
  // The key a used slot holds; a key held in the slot is copied into `bytes` first.
  std::string_view key_of(const Slot& slot, char (&bytes)[kMostInline]) const {
    if (slot.place & kInlineMark) {
      for (std::size_t i = 0; i < kMostInline; ++i) bytes[i] = static_cast<char>((slot.place >> (8 * i)) & 0xFF);
      return std::string_view(bytes, (slot.place >> 56) & 0x7F);
    }
    return std::string_view(arena_).substr(slot.place & 0xFFFFFFFF, slot.place >> 32);
  }
  // The hash of the key `slot` holds, for growing.
  std::uint64_t hash_of_slot(const Slot& slot) const;
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
