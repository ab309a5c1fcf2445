// Usage maps: the lists of pages a table (or index, or long-value column) owns. A map is a row on
// a data page: type 0 is a start page and an inline bitmap, type 1 a list of bitmap pages (type
// 0x05) each covering (page size - 4) * 8 pages. The usage map, not the owner field of the pages,
// is the reliable list: pages freed from a table keep its stamp.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/jet/page_source.h"

namespace tarvik::archive::jet {

// The pages of the map found at row pointer `pg_row`, ascending, without duplicates.
// Throws "damaged" for an unknown map type or a page beyond the end of the file.
std::vector<std::uint32_t> read_usage_map(const PageSource& pages, std::uint32_t pg_row);

}  // namespace tarvik::archive::jet
