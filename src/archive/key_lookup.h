// Whether values find a row of one table by one of its columns, answered as a join on that column
// answers it (numbers by value whatever their width, texts by the archive's General sort order; a
// null finds nothing), from the very index such a join builds and keeps.
#pragma once

#include <memory>
#include <string>

#include "archive/sql/collation.h"
#include "archive/value.h"

namespace tarvik::archive {

namespace sql {
struct JoinedTable;
}

class KeyLookup {
 public:
  KeyLookup(std::shared_ptr<const sql::JoinedTable> index, sql::TextOrder order);
  bool finds(const Value& value) const;

 private:
  std::shared_ptr<const sql::JoinedTable> index_;
  sql::TextOrder order_;
  mutable std::string key_;  // the key being made, kept to reuse its storage
};

}  // namespace tarvik::archive
