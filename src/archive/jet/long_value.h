// Memo and OLE values. The row holds a 12-byte header: the length with the storage kind in its top
// bits, and a row pointer. The data is inline after the header, one whole row of an LVAL page, or
// a chain of LVAL rows each starting with the pointer to the next.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/jet/bytes.h"
#include "archive/jet/page_source.h"

namespace tarvik::archive::jet {

// The value's bytes. Throws "damaged" for a broken chain (loop, short, pointing outside the file
// or at a page that is not an LVAL page) or an unknown storage kind.
std::vector<std::uint8_t> read_long_value(const PageSource& pages, Bytes field);

}  // namespace tarvik::archive::jet
