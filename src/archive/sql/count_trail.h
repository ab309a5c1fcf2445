// A count's trail: for each counted row, the leftmost row's pointer and per join the joined row's
// entry (SpineCursor::append_trail). The read that follows a count replays it instead of running
// the joins and WHERE again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvik::archive::sql {

class CountTrail {
 public:
  // A count starts, its rows `width` entries each.
  void start(std::size_t width) {
    entries_.clear();
    width_ = width;
    complete_ = false;
    position_ = 0;
  }
  // Where the count appends its rows' entries.
  std::vector<std::int32_t>& entries() { return entries_; }
  // The count has run to its end.
  void finish() {
    entries_.shrink_to_fit();
    complete_ = true;
  }
  // A trail of one table's rows at `pointers`, in that order.
  void assign(const std::vector<std::uint32_t>& pointers) {
    entries_.assign(pointers.begin(), pointers.end());
    width_ = 1;
    complete_ = true;
    position_ = 0;
  }

  bool complete() const { return complete_; }
  std::int64_t rows() const { return static_cast<std::int64_t>(entries_.size() / width_); }

  // Back to the first row's entry.
  void rewind() { position_ = 0; }
  // The next row's entries, or null after the last.
  const std::int32_t* next() {
    if (position_ >= entries_.size()) return nullptr;
    const std::int32_t* entry = entries_.data() + position_;
    position_ += width_;
    return entry;
  }

 private:
  std::vector<std::int32_t> entries_;
  std::size_t width_ = 1;
  std::size_t position_ = 0;
  bool complete_ = false;
};

}  // namespace tarvik::archive::sql
