// Little-endian stores into page and row buffers, the byte order of every Jet field.
#pragma once

#include <bit>
#include <cstdint>

namespace tarvik::archive_gen {

inline void store_u8(std::uint8_t* p, std::uint8_t v) { p[0] = v; }
inline void store_u16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void store_u32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void store_u64(std::uint8_t* p, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void store_f32(std::uint8_t* p, float v) { store_u32(p, std::bit_cast<std::uint32_t>(v)); }
inline void store_f64(std::uint8_t* p, double v) { store_u64(p, std::bit_cast<std::uint64_t>(v)); }

// A row pointer: page in the upper 24 bits, row number in the low 8.
inline std::uint32_t page_row(std::uint32_t page, std::uint8_t row) { return (page << 8) | row; }

}  // namespace tarvik::archive_gen
