// The rows of a scan read a few ahead of the row in use, each with its join key: the key's place in
// a large join index can then be fetched into the processor's caches while the rows before it are
// joined, instead of being waited for at its turn. A failure to read a row is kept and thrown at
// that row's turn, so the rows before it come exactly as they would without reading ahead.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

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

  void clear() {
    head_ = count_ = 0;
    ended_ = false;
    failure_ = nullptr;
  }
  std::size_t size() const { return count_; }
  // No more rows will be read: the ring holds its depth, or the scan has ended.
  bool full() const { return ended_ || count_ == kDepth; }
  // The row `distance` places after the next one to be taken (distance < size()).
  Row& at(std::size_t distance) { return rows_[(head_ + distance) % kDepth]; }
  // Where the next row read goes; push() keeps it.
  Row& tail() { return rows_[(head_ + count_) % kDepth]; }
  void push() { ++count_; }
  // The scan has ended, by its last row or by a failure thrown when its turn comes.
  void end(std::exception_ptr failure) {
    ended_ = true;
    failure_ = std::move(failure);
  }
  // The next row, taken (valid until the next push), or null after the last.
  Row* take() {
    if (count_ == 0) {
      if (failure_) std::rethrow_exception(failure_);
      return nullptr;
    }
    Row* row = &rows_[head_];
    head_ = (head_ + 1) % kDepth;
    --count_;
    return row;
  }

 private:
  std::array<Row, kDepth> rows_;
  std::size_t head_ = 0;
  std::size_t count_ = 0;
  bool ended_ = false;
  std::exception_ptr failure_;
};

}  // namespace tarvik::archive::sql
