// Freed memory kept for reuse: a block of a few megabytes comes from the heap, not from a mapping
// of its own that would be handed back, and faulted in afresh, at every free; and a thread's next
// blocks come from a stretch of its heap marked for huge pages.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

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

#if defined(__linux__)
// The flags of the mapping holding `address`, as /proc/self/smaps lists them ("rd wr mr ... hg").
std::string flags_of_mapping_at(const void* address) {
  std::ifstream smaps("/proc/self/smaps");
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    std::uintptr_t from = 0, to = 0;
    char dash = 0;
    std::istringstream range(line);
    if (range >> std::hex >> from >> dash >> to && dash == '-') inside = from <= at && at < to;
    if (inside && line.rfind("VmFlags:", 0) == 0) return line;
  }
  return {};
}
#endif

TEST(MemoryReuse, AThreadsNextBlocksComeFromAStretchMarkedForHugePages) {
#if defined(__linux__) && defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
  std::ifstream policy("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string modes;
  std::getline(policy, modes);
  if (modes.empty() || modes.find("[never]") != std::string::npos) GTEST_SKIP() << "no huge pages here";
  KeepFreedMemoryForReuse();
  std::string flags;
  std::thread([&flags] {  // a fresh thread, with a heap of its own
    PrepareThreadHeap();
    auto block = std::make_unique<char[]>(8u << 20);
    flags = flags_of_mapping_at(block.get() + (4u << 20));
  }).join();
  EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
#else
  GTEST_SKIP() << "huge pages are asked for on Linux with glibc's own heap only (no sanitizer's)";
#endif
}

}  // namespace
}  // namespace tarvik::platform
