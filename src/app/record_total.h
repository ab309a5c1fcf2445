// The record total of header line 1: whole-table counts of 34 tables, not the rows the
// exporters' filtered queries give, so the last progress caption may show done below or above it.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/run_context.h"

namespace tarvik::app {

// Opens the table as a table-kind record set, makes its count exact and returns it.
std::int32_t CountTableRecords(archive::Database& archive, std::string_view table);
// Sets the context's total; a sum beyond the 32-bit signed range is an overflow.
void ComputeTotal(RunContext& context);
// Has the same tables counted on the archive's second thread, from the last, while the checks
// run: ComputeTotal, counting from the first, finds the counts made there (the archive keeps
// them). A table that cannot be counted there is left alone: ComputeTotal counts it again and
// meets its error itself, in its own order.
void CountTablesAhead(archive::Database& archive);
// Counts the same tables here, from the first, before their total is due: the run calls it while
// the second thread still prepares the last check's queries, which this thread would otherwise
// wait for. As on the second thread, a table that cannot be counted is left to ComputeTotal.
void CountTablesEarly(archive::Database& archive);

}  // namespace tarvik::app
