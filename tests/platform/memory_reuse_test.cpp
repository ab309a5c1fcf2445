// Freed memory kept for reuse: a block of a few megabytes comes from the heap, not from a mapping
// of its own that would be handed back, and faulted in afresh, at every free.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/memory_reuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tarvik::platform {
namespace {

TEST(MemoryReuse, BlocksOfSomeMegabytesComeFromTheHeap) {
#if defined(__GLIBC__)
  KeepFreedMemoryForReuse();
  const std::size_t mapped_before = mallinfo2().hblks;
  auto block = std::make_unique<char[]>(8u << 20);
  block[0] = 1;
  EXPECT_EQ(mallinfo2().hblks, mapped_before) << "an 8 MB block was given a mapping of its own";
#else
  GTEST_SKIP() << "the system's heap keeps freed blocks by itself";
#endif
}

}  // namespace
}  // namespace tarvik::platform
