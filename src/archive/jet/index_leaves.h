// The entries of one of a table's indexes in the order Jet keeps them: down from the index's top
// page along the first child of each intermediate page (type 0x03) to the first leaf (type 0x04),
// then along the leaves' next-page links. Each entry is its key bytes, as the Jet engine encoded
// the row's key columns, and the pointer of the row it stands for. Nothing of the file is trusted:
// a broken or looping chain, a page of another kind or another table, or entries that overrun
// their page give the damaged-archive error.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/jet/page_source.h"
#include "archive/jet/table_def.h"

namespace tarvik::archive::jet {

struct IndexEntry {
  std::vector<std::uint8_t> key;  // the encoded key columns, the page's shared prefix restored
  std::uint32_t row_pointer = 0;  // (page << 8) | row, as TableScan::read_at takes it
};

// Every entry of `index`, one of `table`'s, in index order.
std::vector<IndexEntry> read_index_entries(const PageSource& pages, const TableDef& table,
                                           const Index& index);

}  // namespace tarvik::archive::jet
