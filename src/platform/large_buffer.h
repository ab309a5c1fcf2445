// Memory for a large buffer that is filled once and reused for a whole run (the archive's page
// cache), asked of the system directly. On Linux it is backed by huge pages where the system
// allows: filling 32 MB then costs a few page faults instead of eight thousand, and on virtual
// machines a page fault costs as much as reading several pages of the archive.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvik::platform {

class LargeBuffer {
 public:
  // At least `bytes` bytes, zeros to start with, as the system hands them out.
  // Throws std::bad_alloc when the system refuses.
  explicit LargeBuffer(std::size_t bytes);
  ~LargeBuffer();
  LargeBuffer(const LargeBuffer&) = delete;
  LargeBuffer& operator=(const LargeBuffer&) = delete;

  std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  void* mapping_ = nullptr;  // what the system returned, which may start before data_
  std::size_t mapping_size_ = 0;
};

}  // namespace tarvik::platform
