// The export run started by "Procedi": folder and archive tests, the archive opened, the three
// checks, the transfer file created with its two header lines, every stage of the run plan, and
// the window unloaded. No message is shown when a run succeeds.
#pragma once

#include "app/run_context.h"

namespace tarvik::app {

enum class RunOutcome {
  Finished,        // the transfer file is complete and the window unloaded
  RefusedFolder,   // the folder or the archive file is missing: a message, nothing opened
  RefusedByCheck,  // an archive check showed its findings in the error panel; no transfer file
  Failed,          // an unexpected error was reported; no transfer file remains; the program ends
};

RunOutcome Command1_Click(RunContext& context);

}  // namespace tarvik::app
