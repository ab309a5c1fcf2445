// An empty index leaf page (type 0x04), the root Jackcess gives a new index before rows arrive:
// header, no entries, all the space free from 0x1E0 on.
#pragma once

#include <array>
#include <cstdint>

#include "page_file.h"

namespace tarvik::archive_gen {

std::array<std::uint8_t, kPageSize> empty_index_leaf(std::uint32_t tdef_page);

}  // namespace tarvik::archive_gen
