// Reads a table definition: the chain of TDEF pages joined into one buffer, then the header, the
// column descriptors and names, and the index definitions. Counts read from the file are checked
// against the bytes that remain before anything is allocated.
#pragma once

#include <cstdint>
#include <string>

#include "archive/jet/page_source.h"
#include "archive/jet/table_def.h"

namespace tarvik::archive::jet {

TableDef read_table_def(const PageSource& pages, std::uint32_t tdef_page, std::string name);

}  // namespace tarvik::archive::jet
