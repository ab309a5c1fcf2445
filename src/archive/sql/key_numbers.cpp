#include "archive/sql/key_numbers.h"

#include <cstring>
#include <functional>
#include <stdexcept>

namespace tarvik::archive::sql {

namespace {
std::uint64_t hash_of(std::string_view key) { return std::hash<std::string_view>{}(key); }
}  // namespace

std::uint64_t KeyNumbers::inline_place(std::string_view key) {
  std::uint64_t place = 0;
  for (std::size_t i = 0; i < key.size(); ++i)
    place |= std::uint64_t(static_cast<unsigned char>(key[i])) << (8 * i);
  return place | kInlineMark | (std::uint64_t(key.size()) << 56);
}

std::uint64_t KeyNumbers::hash_of_slot(const Slot& slot) const {
  char bytes[kMostInline];
  return hash_of(key_of(slot, bytes));
}

// The slot holding `key`, or the free slot where it would go.
std::size_t KeyNumbers::slot_of(std::string_view key, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const std::uint32_t tag = static_cast<std::uint32_t>(hash >> 32);
  if (key.size() <= kMostInline) {
    const std::uint64_t place = inline_place(key);
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.number == kNone || (slot.tag == tag && slot.place == place)) return i;
    }
  }
  const std::uint64_t size = key.size();
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.number == kNone) return i;
    if (slot.tag == tag && slot.place >> 32 == size &&
        std::memcmp(arena_.data() + (slot.place & 0xFFFFFFFF), key.data(), key.size()) == 0)
      return i;
  }
}

void KeyNumbers::grow() { rehash(slots_.empty() ? 64 : slots_.size() * 2); }

void KeyNumbers::reserve(std::size_t keys) {
  std::size_t slot_count = slots_.empty() ? 64 : slots_.size();
  while (slot_count * 3 < 4 * keys) slot_count *= 2;
  if (slot_count > slots_.size()) rehash(slot_count);
}

void KeyNumbers::rehash(std::size_t slot_count) {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(slot_count, Slot{});
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.number == kNone) continue;
    std::size_t i = hash_of_slot(slot) & mask;
    while (slots_[i].number != kNone) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

std::uint32_t& KeyNumbers::value(std::string_view key, std::uint32_t value_if_new, bool& added) {
  if ((std::size_t(count_) + 1) * 4 > slots_.size() * 3) grow();
  const std::uint64_t hash = hash_of(key);
  Slot& slot = slots_[slot_of(key, hash)];
  added = slot.number == kNone;
  if (added) {
    if (count_ == kNone - 1) throw std::length_error("too many distinct keys");
    std::uint64_t place = 0;
    if (key.size() <= kMostInline) {
      place = inline_place(key);
    } else {
      if (arena_.size() + key.size() > kNone || key.size() > 0x7FFFFFFF) throw std::length_error("join keys too long");
      place = (std::uint64_t(key.size()) << 32) | arena_.size();
      arena_.append(key);
    }
    slot = Slot{static_cast<std::uint32_t>(hash >> 32), value_if_new, place};
    ++count_;
  }
  return slot.number;
}

std::uint32_t KeyNumbers::number(std::string_view key, bool& added) { return value(key, count_, added); }

void KeyNumbers::prefetch(std::string_view key) const {
  if (slots_.empty()) return;
  __builtin_prefetch(&slots_[hash_of(key) & (slots_.size() - 1)]);
}

void KeyNumbers::prefetch_key_bytes(std::string_view key) const {
  if (slots_.empty() || key.size() <= kMostInline) return;
  const std::uint64_t hash = hash_of(key);
  const Slot& slot = slots_[hash & (slots_.size() - 1)];
  // The first slot of the key's run holds it nearly always; a later one is left to the look-up.
  if (slot.number != kNone && slot.tag == static_cast<std::uint32_t>(hash >> 32) && !(slot.place & kInlineMark))
    __builtin_prefetch(arena_.data() + (slot.place & 0xFFFFFFFF));
}

std::uint32_t KeyNumbers::find(std::string_view key) const {
  if (slots_.empty()) return kNone;
  return slots_[slot_of(key, hash_of(key))].number;
}

}  // namespace tarvik::archive::sql
