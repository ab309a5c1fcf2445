// An empty index leaf page (type 0x04), the root Jackcess gives a new index before rows arrive:
// header, no entries, all the space free from the first entry's place on.
#pragma once

#include <cstdint>
#include <vector>

#include "write_format.h"

namespace tarvik::archive_gen {

std::vector<std::uint8_t> empty_index_leaf(const WriteFormat& format, std::uint32_t tdef_page);

}  // namespace tarvik::archive_gen
