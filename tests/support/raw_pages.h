// An archive's pages read raw, without the project's reader: the rows of a data page with their
// offset-table flags and bytes (a deleted row's too, which the reader never looks at). For tests
// that look at how an archive is stored, or damage it in one precise place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "archive/jet/format.h"

namespace tarvik::test::raw {

inline std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t u32(const std::uint8_t* p) { return u16(p) | std::uint32_t(u16(p + 2)) << 16; }

inline constexpr std::uint16_t kDeleted = 0xC000, kPointer = 0x4000, kMovedBody = 0x8000;

struct Slot {
  std::uint16_t flags = 0;
  std::span<const std::uint8_t> bytes;
  std::size_t offset = 0;  // of the row's first byte in the file
};

class RawPages {
 public:
  RawPages(const std::filesystem::path& path, const archive::jet::Format& format) : format_(format) {
    std::ifstream in(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
  }

  std::vector<std::uint8_t>& bytes() { return bytes_; }
  std::uint32_t count() const { return static_cast<std::uint32_t>(bytes_.size() / format_.page_size); }
  const std::uint8_t* page(std::uint32_t n) const { return bytes_.data() + std::size_t(n) * format_.page_size; }
  std::uint32_t owner(std::uint32_t n) const { return u32(page(n) + 4); }
  std::size_t free_space(std::uint32_t n) const { return u16(page(n) + 2); }
  std::vector<Slot> slots(std::uint32_t n) const {
    const std::uint8_t* p = page(n);
    const std::uint16_t rows = u16(p + format_.data_row_count);
    std::vector<Slot> out;
    std::size_t end = format_.page_size;
    for (std::uint16_t r = 0; r < rows; ++r) {
      const std::uint16_t entry = u16(p + format_.data_row_table + 2 * r);
      const std::size_t start = entry & 0x1FFF;
      out.push_back({static_cast<std::uint16_t>(entry & 0xC000), std::span(p + start, end - start),
                     std::size_t(n) * format_.page_size + start});
      end = start;
    }
    return out;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  const archive::jet::Format& format_;
};

}  // namespace tarvik::test::raw
