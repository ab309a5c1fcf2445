// Page 0 of a Jet4 file: the engine name and version, then the 128-byte region that Jet XORs
// with a fixed RC4 keystream (key C7 DA 39 6B). Inside it: code page 1252, no encryption key,
// an empty password (which reads as the creation-date mask), the "General" sort order and the
// creation date.
#pragma once

#include <array>
#include <cstdint>

#include "page_file.h"

namespace tarvik::archive_gen {

std::array<std::uint8_t, kPageSize> header_page(double creation_date);

}  // namespace tarvik::archive_gen
