// The rows of a scan read a few ahead of the row in use, each with its join key: the key's place in
// a large join index can then be fetched into the processor's caches while the rows before it are
// joined, instead of being waited for at its turn. A failure to read a row is kept and thrown at
// that row's turn, so the rows before it come exactly as they would without reading ahead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "archive/jet/jet_file.h"
#include "archive/sql/slot_ring.h"
#include "archive/value.h"

namespace tarvik::archive::sql {

class RowsAhead {
 public:
  // Rows read ahead. A row takes well under a microsecond to count, a fetch from memory a few
  // tenths of one: eight rows give the fetches time to arrive.
  static constexpr std::size_t kDepth = 8;

  struct Row {
    std::vector<Value> values;
    std::uint32_t pointer = 0;  // the scan's row pointer
    std::string key;            // the first join's key
    bool keyed = false;         // false: a key value is null, and the row matches nothing
    // For a first join on a table of whole numbers: the number its one key value makes, if any.
    std::optional<std::int64_t> number;
  };

  // Reads rows of `scan` until the ring is full. `key.make(row)` makes a row's first join key once
  // its values are read, `key.prefetch(row)` asks for its place in the join index, and
  // `key.prefetch_bytes(row)` for the key bytes kept apart from that place.
  template <typename Key>
  void fill(jet::TableScan& scan, const Key& key) {
    while (!full()) {
      Row& row = tail();
      try {
        if (!scan.next(row.values)) {
          end(nullptr);
          return;
        }
        row.pointer = scan.row_pointer();
        key.make(row);
      } catch (...) {
        end(std::current_exception());
        return;
      }
      key.prefetch(row);
      push();
    }
    // Half way to its turn, a row's slot has arrived: its key's bytes are asked for.
    if (size() > kDepth / 2) key.prefetch_bytes(at(kDepth / 2));
  }

  void clear() {
    ring_.clear();
    ended_ = false;
    failure_ = nullptr;
  }
  std::size_t size() const { return ring_.size(); }
  // No more rows will be read: the ring holds its depth, or the scan has ended.
  bool full() const { return ended_ || ring_.full(); }
  // The row `distance` places after the next one to be taken (distance < size()).
  Row& at(std::size_t distance) { return ring_.at(distance); }
  // Where the next row read goes; push() keeps it.
  Row& tail() { return ring_.tail(); }
  void push() { ring_.push(); }
  // The scan has ended, by its last row or by a failure thrown when its turn comes.
  void end(std::exception_ptr failure) {
    ended_ = true;
    failure_ = std::move(failure);
  }
  // The next row, taken (valid until the next push), or null after the last.
  Row* take() {
    Row* row = ring_.take();
    if (!row && failure_) std::rethrow_exception(failure_);
    return row;
  }

 private:
  SlotRing<Row, kDepth> ring_;
  bool ended_ = false;
  std::exception_ptr failure_;
};

}  // namespace tarvik::archive::sql
