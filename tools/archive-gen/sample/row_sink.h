// Where generated rows go: the Jet writer for an archive, or a test that looks at them directly.
#pragma once

#include <cstddef>
#include <span>

#include "archive/value.h"

namespace tarvik::archive_gen::sample {

class RowSink {
 public:
  virtual ~RowSink() = default;
  // One row of table `table` (index into the schema's tables), one value per column.
  virtual void add_row(std::size_t table, std::span<const archive::Value> row) = 0;
};

}  // namespace tarvik::archive_gen::sample
