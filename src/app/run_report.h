// The run's side of the transfer report: the report follows the blocks as they are written and
// goes to disk only once the transfer file is complete.
#pragma once

#include <string>

#include "app/run_context.h"

namespace tarvik::app {

// Starts the report and lets it hear the writer's changes. Called once the transfer file (or, in
// a dry run, the writer that keeps nothing) exists.
void StartReport(RunContext& context);

// Fills the heading and writes the page at the context's report path. Throws TransferError.
void WriteReport(RunContext& context, const std::string& archive_path);

}  // namespace tarvik::app
