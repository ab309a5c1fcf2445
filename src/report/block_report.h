// What the report says about one table block: the records written, the archive rows its query
// left out and those it wrote more than once, and the values that went into the file changed.
// All texts are UTF-8, ready for the page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "archive/unmatched_rows.h"
#include "report/capped_list.h"

namespace tarvik::report {

struct ListedRow {
  std::string key;     // the row's identity, e.g. "idDocumento 77, numero 12"
  std::string reason;  // why, e.g. "cliente 1234 inesistente"
};

struct ChangedValue {
  std::string field;
  std::string key;
  std::string change;  // what was in the archive and what was written
};

struct BlockReport {
  std::string name;
  std::int64_t written = 0;
  CappedList<ListedRow> left_out;
  CappedList<ListedRow> duplicates;  // the rows a join wrote more than once
  std::int64_t extra_copies = 0;     // the records those rows added beyond one each (exact)
  CappedList<ChangedValue> changed;
  // The rows of the block's table its query gave no record, as its walk noted them: the rows
  // left out are among them. None when the walk noted nothing (the table is then read again).
  std::optional<archive::UnmatchedRows> unmatched;
};

}  // namespace tarvik::report
