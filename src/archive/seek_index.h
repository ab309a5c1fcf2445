// The in-memory stand-in for a Jet index used by seeks: the key of every row of a table, read
// once, mapped to the row's pointer (page and row), so the row found is read directly. Jet's own
// index pages are not read.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "archive/jet/table_def.h"
#include "archive/sql/collation.h"
#include "archive/sql/key_numbers.h"
#include "archive/value.h"

namespace tarvik::archive {

namespace jet {
class JetFile;
}

class SeekIndex {
 public:
  // Reads the table once. Rows whose key holds a null are left out: a null key finds nothing.
  SeekIndex(const jet::JetFile& file, const jet::TableDef& table, const jet::Index& index);

  // The row pointer of the first row, in physical order, whose key equals `key`, compared as Jet
  // compares (numbers by value, text by the archive's order). Throws 3464 when a key value cannot
  // be compared with its column.
  std::optional<std::uint32_t> find(const std::vector<Value>& key) const;

 private:
  std::vector<FieldType> types_;
  sql::TextOrder order_;
  sql::KeyNumbers rows_;  // each key's first row pointer
};

}  // namespace tarvik::archive
