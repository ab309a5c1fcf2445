#include "primary_key_set.h"

#include <bit>
#include <cstring>

namespace tarvik::archive_gen {

using archive::Value;
using archive::ValueKind;

namespace {

std::uint64_t mix(std::uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  x ^= x >> 31;
  return x;
}

std::uint64_t hash_bytes(const std::vector<std::uint8_t>& bytes, std::uint64_t seed) {
  std::uint64_t h = seed ^ bytes.size();
  for (std::size_t i = 0; i < bytes.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + i, std::min<std::size_t>(8, bytes.size() - i));
    h = mix(h ^ word) * 0x9E3779B97F4A7C15ull;
  }
  return mix(h);
}

char16_t fold(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
    return static_cast<char16_t>(c - 0x20);
  return c;
}

template <typename T>
void append(std::vector<std::uint8_t>& out, const T& v) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(&v);
  out.insert(out.end(), p, p + sizeof(T));
}

}  // namespace

PrimaryKeySet::PrimaryKeySet(std::vector<std::size_t> key_columns)
    : columns_(std::move(key_columns)) {}

PrimaryKeySet::Key PrimaryKeySet::key_of(std::span<const Value> row) {
  scratch_.clear();
  bool fixed = true;
  for (std::size_t c : columns_) {
    const Value& v = row[c];
    switch (v.kind()) {
      case ValueKind::Boolean: scratch_.push_back(v.as_boolean() ? 1 : 0); break;
      case ValueKind::Byte: scratch_.push_back(v.as_byte()); break;
      case ValueKind::Integer: append(scratch_, v.as_integer()); break;
      case ValueKind::Long: append(scratch_, v.as_long()); break;
      case ValueKind::Single: append(scratch_, v.as_single()); break;
      case ValueKind::Double: append(scratch_, v.as_double()); break;
      case ValueKind::Currency: append(scratch_, v.as_currency().ten_thousandths); break;
      case ValueKind::DateTime: append(scratch_, v.as_datetime().days); break;
      case ValueKind::Guid: append(scratch_, v.as_guid().bytes); break;
      case ValueKind::Text:
        fixed = false;
        append(scratch_, static_cast<std::uint32_t>(v.as_text().size()));
        for (char16_t ch : v.as_text()) append(scratch_, fold(ch));
        break;
      default:
        fixed = false;
        break;
    }
  }
  Key key;
  if (fixed && scratch_.size() <= sizeof(Key)) {
    std::memcpy(&key.a, scratch_.data(), std::min<std::size_t>(8, scratch_.size()));
    if (scratch_.size() > 8) std::memcpy(&key.b, scratch_.data() + 8, scratch_.size() - 8);
  } else {
    key.a = hash_bytes(scratch_, 0x243F6A8885A308D3ull);
    key.b = hash_bytes(scratch_, 0x13198A2E03707344ull);
  }
  return key;
}

void PrimaryKeySet::grow() {
  std::vector<Key> old_slots = std::move(slots_);
  std::vector<std::uint8_t> old_used = std::move(used_);
  const std::size_t capacity = old_slots.empty() ? 1024 : old_slots.size() * 2;
  slots_.assign(capacity, Key{});
  used_.assign(capacity, 0);
  for (std::size_t i = 0; i < old_slots.size(); ++i) {
    if (!old_used[i]) continue;
    std::size_t at = mix(old_slots[i].a ^ mix(old_slots[i].b)) & (capacity - 1);
    while (used_[at]) at = (at + 1) & (capacity - 1);
    slots_[at] = old_slots[i];
    used_[at] = 1;
  }
}

std::size_t PrimaryKeySet::find_slot(const Key& key) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = mix(key.a ^ mix(key.b)) & mask;
  while (used_[at] && !(slots_[at] == key)) at = (at + 1) & mask;
  return at;
}

bool PrimaryKeySet::contains(std::span<const Value> row) {
  if (!active()) return false;
  if ((count_ + 1) * 4 > slots_.size() * 3) grow();
  checked_ = key_of(row);
  return used_[find_slot(checked_)] != 0;
}

void PrimaryKeySet::add_checked() {
  if (!active()) return;
  const std::size_t at = find_slot(checked_);
  if (used_[at]) return;
  slots_[at] = checked_;
  used_[at] = 1;
  ++count_;
}

}  // namespace tarvik::archive_gen
