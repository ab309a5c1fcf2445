// The transfer file's blocks as the importer knows them: in the run plan's order, each block's
// name, its number of value lines per record and which of them are raw memos followed by the
// memo end marker. This is the importer's side of the format; the exporters' field lists must
// agree with it, and `verify` reads files by it.
#pragma once

#include <vector>

#include "transfer/layout_check.h"

namespace tarvik::transfer {

const std::vector<BlockLayout>& block_layouts();

}  // namespace tarvik::transfer
