// The primary keys seen so far in a table, to refuse a duplicate as Access would (texts compared
// without regard to case, as the "General" sort order does for ASCII and Latin-1 letters).
// Tables run to millions of rows, so a key is kept in 16 bytes: the key's own bytes when its
// columns are fixed-size and fit, otherwise a 128-bit hash of them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "archive/value.h"

namespace tarvik::archive_gen {

class PrimaryKeySet {
 public:
  explicit PrimaryKeySet(std::vector<std::size_t> key_columns);

  bool active() const { return !columns_.empty(); }
  // Whether the key of `row` (no key column null) was recorded; remembers it for add_checked().
  bool contains(std::span<const archive::Value> row);
  // Records the key last passed to contains().
  void add_checked();

 private:
  struct Key {
    std::uint64_t a = 0, b = 0;
    bool operator==(const Key&) const = default;
  };
  Key key_of(std::span<const archive::Value> row);
  std::size_t find_slot(const Key& key) const;  // its slot, or the empty slot it would take
  void grow();

  std::vector<std::size_t> columns_;
  std::vector<std::uint8_t> scratch_;
  std::vector<Key> slots_;
  std::vector<std::uint8_t> used_;
  std::size_t count_ = 0;
  Key checked_;
};

}  // namespace tarvik::archive_gen
