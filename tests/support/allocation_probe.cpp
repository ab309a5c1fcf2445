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

// Every plain, array and nothrow form goes through here, so that whatever one of them allocated
// is freed by the matching replacement (the library's temporary buffers use the nothrow form).
// The aligned forms are left to the library and are not used with large sizes by the code.
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
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  tarvik::test::AllocationProbe::record(size);
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return ::operator new(size, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
