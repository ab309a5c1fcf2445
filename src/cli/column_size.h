// The size a column shows in `tables` and `dump`: characters for text, bytes for the other
// fixed-size types, 0 for memo and OLE (long values have no declared size).
#pragma once

#include "archive/jet/table_def.h"

namespace tarvik::cli {

// `jet3`: the file is Jet3, whose text is one byte a character; Jet4 and later store two.
unsigned column_size(const archive::jet::Column& column, bool jet3);

}  // namespace tarvik::cli
