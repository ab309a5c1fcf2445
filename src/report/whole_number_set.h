// A set of whole numbers within ±2^53 (the ids the report looks up by the hundred thousand), by
// open addressing in one array at most half full: 16 to 32 bytes a number, no node of its own.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

namespace tarvik::report {

class WholeNumberSet {
 public:
  void insert(std::int64_t number);
  bool contains(std::int64_t number) const;
  std::size_t size() const { return count_; }

 private:
  // No number kept is this small, so it marks a free slot.
  static constexpr std::int64_t kFree = std::numeric_limits<std::int64_t>::min();
  std::size_t slot_of(std::int64_t number) const;  // its slot, or the free one where it would go
  void grow();

  std::vector<std::int64_t> slots_;  // a power of two in size
  std::size_t count_ = 0;
};

}  // namespace tarvik::report
