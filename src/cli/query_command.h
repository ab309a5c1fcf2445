// `query ARCHIVE SQL`: runs one SELECT through the archive engine, exactly as an exporter would
// (snapshot, move last and first, rows forward), and prints its rows as JSON lines in the
// canonical form of `dump`. The first line is `{"query":SQL,"columns":[[name,type,size],...]}`,
// then one object per row, field name to value, in the order the engine returns the rows.
#pragma once

#include "cli/command.h"

namespace tarvik::cli {

int run_query_command(CommandArgs args, CommandIo& io);

}  // namespace tarvik::cli
