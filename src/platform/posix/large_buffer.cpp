#include "platform/large_buffer.h"

#include <sys/mman.h>

#include <new>

namespace tarvik::platform {

namespace {
constexpr std::size_t kHugePage = 2u << 20;
}

LargeBuffer::LargeBuffer(std::size_t bytes) {
  // Whole huge pages, aligned on one: the mapping is made a huge page longer and the aligned part
  // is used, so that every huge page of the buffer can be backed by one.
  size_ = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  mapping_size_ = size_ + kHugePage;
  void* mapping = mmap(nullptr, mapping_size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) throw std::bad_alloc();
  mapping_ = mapping;
  const auto start = reinterpret_cast<std::uintptr_t>(mapping);
  data_ = reinterpret_cast<std::uint8_t*>((start + kHugePage - 1) / kHugePage * kHugePage);
#ifdef MADV_HUGEPAGE
  madvise(data_, size_, MADV_HUGEPAGE);  // a hint: without huge pages the buffer works the same
#endif
}

LargeBuffer::~LargeBuffer() { munmap(mapping_, mapping_size_); }

}  // namespace tarvik::platform
