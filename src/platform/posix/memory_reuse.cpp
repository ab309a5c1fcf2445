#include "platform/memory_reuse.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>  // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tarvik::platform {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
// Below the 32 MB past which a block gets a mapping of its own: the stretch stays in the heap.
constexpr std::size_t kPreparedStretch = std::size_t(24) << 20;

}  // namespace

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // Blocks up to 32 MB (the most glibc allows) come from the heap rather than from mappings of
  // their own, which are handed back when freed; and the heap keeps up to 128 MB freed at its top.
  // Without these, glibc raises its thresholds only as it sees large blocks freed, too late for
  // the first stages. Measured at scale 1000: a third fewer page faults, 3 % less CPU.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
  PrepareThreadHeap();
}

void PrepareThreadHeap() {
  // A stretch taken and freed at once stays at the top of this thread's heap, and the next
  // allocations are carved from it; marked for huge pages before it is ever touched, it faults in
  // two megabytes at a time. Where the system grants huge pages only on request, this cut the page
  // faults of a scale-40 export from 3 900 to 800 and its CPU by a sixth. A system that refuses
  // the request simply keeps small pages.
  void* const block = std::malloc(kPreparedStretch);
  if (!block) return;
  const auto at = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t start = (at + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t end = (at + kPreparedStretch) & ~(kHugePage - 1);
#if defined(MADV_HUGEPAGE)
  if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#endif
  std::free(block);
}

}  // namespace tarvik::platform
