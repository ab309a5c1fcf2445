#include "index_page.h"

#include "little_endian.h"

namespace tarvik::archive_gen {

std::vector<std::uint8_t> empty_index_leaf(const WriteFormat& format, std::uint32_t tdef_page) {
  std::vector<std::uint8_t> page(format.page_size(), 0);
  page[0] = 0x04;
  page[1] = 0x01;
  store_u16(&page[2], static_cast<std::uint16_t>(format.page_size() - format.index_first_entry()));
  store_u32(&page[4], tdef_page);
  return page;
}

}  // namespace tarvik::archive_gen
