#include "index_page.h"

#include "little_endian.h"

namespace tarvik::archive_gen {

namespace {
constexpr std::size_t kFirstEntry = 0x1E0;
}

std::array<std::uint8_t, kPageSize> empty_index_leaf(std::uint32_t tdef_page) {
  std::array<std::uint8_t, kPageSize> page{};
  page[0] = 0x04;
  page[1] = 0x01;
  store_u16(&page[2], static_cast<std::uint16_t>(kPageSize - kFirstEntry));
  store_u32(&page[4], tdef_page);
  return page;
}

}  // namespace tarvik::archive_gen
