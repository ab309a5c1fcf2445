// The rows of a block that a join wrote more than once: those whose reference meets a key its
// target holds more than once. Asked only when the counts show there are some.
#pragma once

#include "archive/database.h"
#include "report/block_report.h"
#include "report/left_out_rule.h"

namespace tarvik::report {

void ListDuplicates(archive::Database& archive, const LeftOutRule& rule, BlockReport& report);

}  // namespace tarvik::report
