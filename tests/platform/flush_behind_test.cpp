// A file put on disk behind its writer: flushed while bytes keep coming and not when none came,
// and a failed flush on the way reported at the end, however later flushes went.
#include "platform/flush_behind.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace tarvik::platform {
namespace {

using namespace std::chrono_literals;

TEST(FlushBehind, FlushesOnlyWhileBytesComeAndKeepsTheFirstFailure) {
  std::atomic<int> flushes{0};
  FlushBehind behind([&] { return ++flushes == 2 ? FileError::DiskFull : FileError::None; });
  std::this_thread::sleep_for(350ms);
  EXPECT_EQ(flushes, 0);  // nothing written, nothing flushed
  for (int i = 0; i < 4; ++i) {
    behind.wrote();
    const int before = flushes;
    for (int wait = 0; wait < 100 && flushes == before; ++wait) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(flushes, before + 1);
  }
  // The second flush failed, the third and fourth did not: the failure stays.
  EXPECT_EQ(behind.stop(), FileError::DiskFull);
  EXPECT_EQ(behind.stop(), FileError::DiskFull);
}

}  // namespace
}  // namespace tarvik::platform
