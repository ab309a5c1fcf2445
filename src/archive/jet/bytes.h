// Little-endian decoding of the untrusted bytes of a Jet file. Every read goes through a span and
// is checked against its length: a read past the end raises the "damaged" error with the caller's
// description of what was being read, instead of touching memory outside the page.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "archive/archive_error.h"

namespace tarvik::archive::jet {

using Bytes = std::span<const std::uint8_t>;

inline std::uint16_t load_u16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
inline std::uint32_t load_u32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}
inline std::uint64_t load_u64(const std::uint8_t* p) {
  return std::uint64_t(load_u32(p)) | (std::uint64_t(load_u32(p + 4)) << 32);
}

// True when [offset, offset + size) lies inside a buffer of `length` bytes, without overflow.
inline bool fits(std::size_t offset, std::size_t size, std::size_t length) {
  return offset <= length && size <= length - offset;
}

// Checked reads at an offset of a span; `what` names the structure for the error message.
class Reader {
 public:
  Reader(Bytes bytes, const char* what) : bytes_(bytes), what_(what) {}

  std::size_t size() const { return bytes_.size(); }
  Bytes bytes() const { return bytes_; }

  std::uint8_t u8(std::size_t off) const { return *at(off, 1); }
  std::uint16_t u16(std::size_t off) const { return load_u16(at(off, 2)); }
  std::uint32_t u32(std::size_t off) const { return load_u32(at(off, 4)); }
  std::int16_t i16(std::size_t off) const { return static_cast<std::int16_t>(u16(off)); }
  std::int32_t i32(std::size_t off) const { return static_cast<std::int32_t>(u32(off)); }
  Bytes sub(std::size_t off, std::size_t size) const { return Bytes(at(off, size), size); }

 private:
  const std::uint8_t* at(std::size_t off, std::size_t size) const {
    if (!fits(off, size, bytes_.size()))
      throw errors::damaged(std::string(what_) + ": lettura oltre la fine della struttura");
    return bytes_.data() + off;
  }
  Bytes bytes_;
  const char* what_;
};

}  // namespace tarvik::archive::jet
