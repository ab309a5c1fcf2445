// Memo and OLE values. The row holds a 12-byte header: the length with the storage kind in its top
// bits, and a row pointer. The data is inline after the header, one whole row of an LVAL page, or
// a chain of LVAL rows each starting with the pointer to the next.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/jet/bytes.h"
#include "archive/jet/page_source.h"

namespace tarvik::archive::jet {

// Where a long value's bytes are read to, reused from value to value: the LVAL page of a value
// held in one row (its bytes are read where they lie), and the bytes of a chain joined.
struct LongValueScratch {
  Page page;
  std::vector<std::uint8_t> joined;
};

// The value's bytes, valid until `scratch` is used again: in the field itself, in the page of its
// one LVAL row, or joined from its chain. Throws "damaged" for a broken chain (loop, short,
// pointing outside the file or at a page that is not an LVAL page) or an unknown storage kind.
Bytes read_long_value(const PageSource& pages, Bytes field, LongValueScratch& scratch);

// The same, as bytes of their own.
std::vector<std::uint8_t> read_long_value(const PageSource& pages, Bytes field);

}  // namespace tarvik::archive::jet
