// Record counts for record-count lines. A record set knows only the records it has visited, so
// before its count is written it is moved to its last record and back.
#pragma once

#include <concepts>
#include <cstdint>

namespace tarvik::transfer {

// What EnsureCount needs of a record set: begin- and end-of-set tests, moves to the first and
// the last record, and the count of the records reached so far. The engine's record set offers
// these; anything else with the same members (a table opened by name, a query's rows) fits too.
template <typename Records>
concept RecordCursor = requires(Records& records) {
  { records.bof() } -> std::convertible_to<bool>;
  { records.eof() } -> std::convertible_to<bool>;
  records.move_first();
  records.move_last();
  { records.record_count() } -> std::convertible_to<std::int64_t>;
};

// On a freshly opened record set: unless it is empty (begin and end of set both true), moves to
// the last record and back to the first, so that its record count is exact and it stands on its
// first record. An empty set is not moved (a move there is an error) and counts 0.
template <RecordCursor Records>
void EnsureCount(Records& records) {
  const bool at_begin = records.bof();
  const bool at_end = records.eof();
  if (at_begin && at_end) return;
  records.move_last();
  records.move_first();
}

}  // namespace tarvik::transfer
