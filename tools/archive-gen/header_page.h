// Page 0: the engine name and version, then the region that Jet XORs with a fixed RC4 keystream
// (key C7 DA 39 6B; 126 bytes in Jet3, 128 in Jet4). Inside it: code page 1252, no encryption
// key, an empty password and the "General" sort order; Jet4 adds the creation date, whose whole
// part masks the password (so an empty one reads as that mask).
#pragma once

#include <cstdint>
#include <vector>

#include "write_format.h"

namespace tarvik::archive_gen {

std::vector<std::uint8_t> header_page(const WriteFormat& format, double creation_date);

}  // namespace tarvik::archive_gen
