// What a table-kind record set keeps of its table: the definition, the index chosen for seeks and
// the reader of the rows they find. The engine's own: the record set's face shows none of it.
#pragma once

#include <optional>

#include "archive/jet/jet_file.h"

namespace tarvik::archive {

struct TableState {
  jet::TableDef def;
  const jet::Index* index = nullptr;
  std::optional<jet::TableScan> seek_reader;  // reads the row a seek found
};

}  // namespace tarvik::archive
