#include "support/allocation_probe.h"

#include <cstdlib>
#include <new>

namespace tarvik::test {
namespace {
thread_local AllocationProbe* active_probe = nullptr;
}

AllocationProbe::AllocationProbe() : outer_(active_probe) { active_probe = this; }
AllocationProbe::~AllocationProbe() { active_probe = outer_; }

void AllocationProbe::record(std::size_t size) {
  for (AllocationProbe* probe = active_probe; probe != nullptr; probe = probe->outer_)
    if (size > probe->largest_) probe->largest_ = size;
}

}  // namespace tarvik::test

// Every plain and array form goes through here; the aligned and nothrow forms of the library
// call these or are not used with large sizes by the code under test.
void* operator new(std::size_t size) {
  tarvik::test::AllocationProbe::record(size);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
