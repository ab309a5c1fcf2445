// The query of a document kind's rows block, built from the names of its rows and header tables.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::exporters {

// The rows of `rows_table` whose header in `header_table` exists and whose header's customer or
// supplier exists in CliFor; only the rows table's columns.
std::string DocumentRowsQuery(std::string_view rows_table, std::string_view header_table);

}  // namespace tarvik::exporters
