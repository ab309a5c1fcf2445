// The record total of header line 1: whole-table counts of 34 tables, not the rows the
// exporters' filtered queries give, so the last progress caption may show done below or above it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "app/run_context.h"

namespace tarvik::app {

// Opens the table as a table-kind record set, makes its count exact and returns it.
std::int32_t CountTableRecords(archive::Database& archive, std::string_view table);
// Sets the context's total; a sum beyond the 32-bit signed range is an overflow. Tables already
// counted (the archive keeps their counts) cost nothing again.
void ComputeTotal(RunContext& context);
// The 34 tables whose rows make the total, in the order ComputeTotal counts them.
std::span<const std::string_view> CountedTables();
// Counts `table` (CountTableRecords) for the total to take later; a table that cannot be counted
// is left alone: ComputeTotal counts it again and meets its error itself, in its own order.
void CountTableEarly(archive::Database& archive, std::string_view table);

}  // namespace tarvik::app
