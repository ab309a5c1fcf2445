#include "archive/jet/page_cache.h"

#include <algorithm>

namespace tarvik::archive::jet {

void PageCache::reset(std::uint32_t block_count, std::size_t block_bytes, std::size_t budget_bytes) {
  slot_of_.assign(block_count, -1);
  slots_.clear();
  capacity_ = std::max<std::size_t>(2, budget_bytes / std::max<std::size_t>(1, block_bytes));
  block_bytes_ = block_bytes;
  arena_.reset();
  pieces_given_ = 0;
  hand_ = 0;
}

PageCache::Block PageCache::new_block() {
  const std::size_t pieces = std::min<std::size_t>(capacity_, slot_of_.size());
  if (!arena_ && pieces > 0) arena_ = std::make_shared<platform::LargeBuffer>(pieces * block_bytes_);
  if (pieces_given_ < pieces) {
    std::uint8_t* bytes = arena_->data() + pieces_given_++ * block_bytes_;
    return std::make_shared<BlockBytes>(arena_, bytes, block_bytes_);
  }
  return std::make_shared<BlockBytes>(block_bytes_);
}

std::size_t PageCache::advance_hand() {
  // The clock: pass over used blocks (clearing their mark) to the first unused one.
  while (slots_[hand_].used) {
    slots_[hand_].used = false;
    hand_ = (hand_ + 1) % slots_.size();
  }
  return hand_;
}

void PageCache::insert(std::uint32_t block, Block bytes) {
  // A slot emptied by evict_for_reuse, or a new one while the budget allows.
  if (!slots_.empty() && !slots_[hand_].block) {
    slots_[hand_] = Slot{std::move(bytes), block, true};
    slot_of_[block] = static_cast<std::int32_t>(hand_);
    hand_ = (hand_ + 1) % slots_.size();
    return;
  }
  if (slots_.size() < capacity_) {
    slot_of_[block] = static_cast<std::int32_t>(slots_.size());
    slots_.push_back(Slot{std::move(bytes), block, true});
    return;
  }
  Slot& victim = slots_[advance_hand()];
  slot_of_[victim.number] = -1;
  victim = Slot{std::move(bytes), block, true};
  slot_of_[block] = static_cast<std::int32_t>(hand_);
  hand_ = (hand_ + 1) % slots_.size();
}

PageCache::Block PageCache::evict_for_reuse() {
  if (slots_.size() < capacity_) return nullptr;
  const std::size_t slot = advance_hand();
  Slot& victim = slots_[slot];
  if (slot_of_[victim.number] == static_cast<std::int32_t>(slot)) slot_of_[victim.number] = -1;
  Block buffer = std::move(victim.block);  // the slot stays empty for the insert that follows
  victim.block = nullptr;
  // A page of it still held elsewhere keeps the bytes: they must not be overwritten.
  if (buffer.use_count() != 1) return nullptr;
  return buffer;
}

std::size_t PageCache::cached_blocks() const {
  std::size_t count = 0;
  for (const Slot& slot : slots_) count += slot.block != nullptr;
  return count;
}

}  // namespace tarvik::archive::jet
