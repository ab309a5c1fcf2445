// The run's side of the transfer report: the report follows the blocks as they are written and
// goes to disk only once the transfer file is complete.
#pragma once

#include <string>

#include "app/run_context.h"

namespace tarvik::app {

// Starts the report and lets it hear the writer's changes. Called once the transfer file (or, in
// a dry run, the writer that keeps nothing) exists.
void StartReport(RunContext& context);

// Closes the transfer file (which then takes its name) and writes the report at the context's
// report path. The transfer file goes to disk on a thread of its own while the report's page is
// put together and written under its temporary name; the report takes its own name only after
// the transfer file has its. Throws TransferError: the transfer file's own failure first, as a
// report is never written for a transfer file that failed.
void CloseTransferAndWriteReport(RunContext& context, const std::string& archive_path);

}  // namespace tarvik::app
