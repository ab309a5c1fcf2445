// The rows a block's query leaves out because a join found nothing for them, found with the
// engine's own LEFT JOIN ... IS NULL, each with its key and the reason in words; and the rows a
// join wrote more than once. Blocks without such joins have no rule and show none.
#pragma once

#include <cstdint>
#include <string_view>

#include "archive/database.h"
#include "report/block_report.h"

namespace tarvik::report {

// Whether the block's query joins its rows to other tables (and so may leave some out).
bool HasLeftOutRule(std::string_view block);

// Fills the left-out rows of `report` (a block already written, `written` set) and, when the
// block holds more records than its rows not left out, the rows written more than once.
void FindLeftOutRows(archive::Database& archive, BlockReport& report);

}  // namespace tarvik::report
