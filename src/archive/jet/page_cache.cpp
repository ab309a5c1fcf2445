#include "archive/jet/page_cache.h"

#include <algorithm>

namespace tarvik::archive::jet {

void PageCache::reset(std::uint32_t block_count, std::size_t block_bytes) {
  slot_of_.assign(block_count, -1);
  slots_.clear();
  capacity_ = std::max<std::size_t>(2, kBudgetBytes / std::max<std::size_t>(1, block_bytes));
  hand_ = 0;
}

void PageCache::insert(std::uint32_t block, Block bytes) {
  if (slots_.size() < capacity_) {
    slot_of_[block] = static_cast<std::int32_t>(slots_.size());
    slots_.push_back(Slot{std::move(bytes), block, true});
    return;
  }
  // The clock: pass over used blocks (clearing their mark) to the first unused one.
  while (slots_[hand_].used) {
    slots_[hand_].used = false;
    hand_ = (hand_ + 1) % slots_.size();
  }
  Slot& victim = slots_[hand_];
  slot_of_[victim.number] = -1;
  victim = Slot{std::move(bytes), block, true};
  slot_of_[block] = static_cast<std::int32_t>(hand_);
  hand_ = (hand_ + 1) % slots_.size();
}

std::size_t PageCache::cached_blocks() const { return slots_.size(); }

}  // namespace tarvik::archive::jet
