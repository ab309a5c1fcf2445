// The rows of a query's leftmost table that gave the query no row (a join found nothing for them,
// or WHERE refused every row they joined to), noted as a walk of the query meets them: whoever
// explains what a query left out then reads those rows alone instead of the whole table again.
#pragma once

#include <cstdint>
#include <vector>

namespace tarvik::archive {

struct UnmatchedRows {
  // Their row pointers, in the order the walk met them; a pointer opens a snapshot on them again.
  std::vector<std::uint32_t> pointers;
  // Every leftmost row the walk read, matched or not.
  std::int64_t rows_read = 0;
};

}  // namespace tarvik::archive
