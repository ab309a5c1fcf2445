// The pages of an archive read so far, kept within a fixed budget. Pages are cached in blocks of
// consecutive pages (a block's pages that its reader wants are read together, which suits the
// scans that read most pages in order); when the budget is reached a block that has not been used
// since the clock hand last passed is let go. A page handed out holds its block, so letting go
// never invalidates a page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/large_buffer.h"

namespace tarvik::archive::jet {

// One block's bytes. Allocated without being filled first: every byte used is read from the file.
struct BlockBytes {
  // Bytes of its own, on the heap.
  explicit BlockBytes(std::size_t capacity_bytes)
      : owned(new std::uint8_t[capacity_bytes]), data(owned.get()), capacity(capacity_bytes) {}
  // A piece of a larger buffer, kept alive by `storage`.
  BlockBytes(std::shared_ptr<const void> storage_of, std::uint8_t* bytes, std::size_t capacity_bytes)
      : storage(std::move(storage_of)), data(bytes), capacity(capacity_bytes) {}
  std::unique_ptr<std::uint8_t[]> owned;
  std::shared_ptr<const void> storage;
  std::uint8_t* data = nullptr;
  std::size_t capacity = 0;
  // The pages read so far, bit k for the block's k-th page: a scan reads only its own table's
  // pages of a block, and the others are read when first asked for.
  std::uint32_t present = 0;
};

class PageCache {
 public:
  using Block = std::shared_ptr<BlockBytes>;

  // Pages per block, and the whole budget in bytes.
  static constexpr std::uint32_t kPagesPerBlock = 16;
  static constexpr std::uint32_t kWholeBlock = (1u << kPagesPerBlock) - 1;
  static constexpr std::size_t kBudgetBytes = 16u << 20;

  // `block_count` blocks in the file; `block_bytes` the size of one; `budget_bytes` the whole.
  void reset(std::uint32_t block_count, std::size_t block_bytes, std::size_t budget_bytes = kBudgetBytes);
  // A buffer for a block about to be read: a piece of one large buffer, taken from the system on
  // the first call and sized for the whole budget (or the whole file, when smaller); once every
  // piece is handed out, bytes of its own.
  Block new_block();

  // The cached block, or null.
  const Block* find(std::uint32_t block) {
    const std::int32_t slot = slot_of_[block];
    if (slot < 0) return nullptr;
    slots_[static_cast<std::size_t>(slot)].used = true;
    return &slots_[static_cast<std::size_t>(slot)].block;
  }
  // Keeps a block just read, letting another go if the budget is reached.
  void insert(std::uint32_t block, Block bytes);
  // When the budget is reached: lets the block the clock picks go now and returns its buffer for
  // the next read, if no page of it is still held elsewhere (null otherwise). Reusing the buffers
  // keeps a long scan from allocating and faulting in fresh memory for every block.
  Block evict_for_reuse();

  std::size_t capacity() const { return capacity_; }
  std::size_t cached_blocks() const;

 private:
  struct Slot {
    Block block;
    std::uint32_t number = 0;
    bool used = false;
  };
  std::vector<std::int32_t> slot_of_;  // per block of the file: its slot, or -1
  std::vector<Slot> slots_;
  std::size_t capacity_ = 0;
  std::size_t block_bytes_ = 0;
  std::shared_ptr<platform::LargeBuffer> arena_;
  std::size_t pieces_given_ = 0;
  std::size_t hand_ = 0;
  std::size_t advance_hand();  // to the next slot not used since the last pass; returns it
};

}  // namespace tarvik::archive::jet
