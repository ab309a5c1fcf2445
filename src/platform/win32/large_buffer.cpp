#include "platform/large_buffer.h"

#include <windows.h>

#include <new>

namespace tarvik::platform {

LargeBuffer::LargeBuffer(std::size_t bytes) {
  // Committed memory costs nothing until touched; large pages would need a privilege users lack.
  size_ = bytes;
  mapping_size_ = bytes;
  mapping_ = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (mapping_ == nullptr) throw std::bad_alloc();
  data_ = static_cast<std::uint8_t*>(mapping_);
}

LargeBuffer::~LargeBuffer() { VirtualFree(mapping_, 0, MEM_RELEASE); }

}  // namespace tarvik::platform
