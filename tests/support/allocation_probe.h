// The largest single allocation made by this thread while a probe is alive. The test binary's
// global operator new (allocation_probe.cpp) reports every request here; with no probe alive it
// only forwards to malloc.
#pragma once

#include <cstddef>

namespace tarvik::test {

class AllocationProbe {
 public:
  AllocationProbe();
  ~AllocationProbe();
  AllocationProbe(const AllocationProbe&) = delete;
  AllocationProbe& operator=(const AllocationProbe&) = delete;

  std::size_t largest() const { return largest_; }
  static void record(std::size_t size);

 private:
  std::size_t largest_ = 0;
  AllocationProbe* outer_;
};

}  // namespace tarvik::test
