// A ring of a few slots whose contents are reused from turn to turn: what waits in it has had its
// memory asked for, and is handled when its turn comes.
#pragma once

#include <array>
#include <cstddef>

namespace tarvik::archive::sql {

template <typename T, std::size_t Depth>
class SlotRing {
 public:
  static constexpr std::size_t kDepth = Depth;

  void clear() { head_ = count_ = 0; }
  std::size_t size() const { return count_; }
  bool full() const { return count_ == Depth; }
  // The slot `distance` places after the next one to be taken (distance < size()).
  T& at(std::size_t distance) { return slots_[(head_ + distance) % Depth]; }
  // Where the next slot filled goes; push() keeps it.
  T& tail() { return slots_[(head_ + count_) % Depth]; }
  void push() { ++count_; }
  // The oldest slot, taken (valid until the next push), or null when none is held.
  T* take() {
    if (count_ == 0) return nullptr;
    T* slot = &slots_[head_];
    head_ = (head_ + 1) % Depth;
    --count_;
    return slot;
  }

 private:
  std::array<T, Depth> slots_;
  std::size_t head_ = 0;
  std::size_t count_ = 0;
};

}  // namespace tarvik::archive::sql
