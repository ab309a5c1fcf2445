// The export stages, written in the plan's order on two threads. The run's own thread writes the
// stage whose turn it is straight into the transfer file; the archive's second thread takes the
// next stage nobody has taken and records it (RecordStage), and in its turn the recording is
// copied in. When the stage whose turn it is is still being recorded, the run's thread records
// the next free stage itself rather than wait. A recording that fails is dropped and its stage
// run again in its turn, straight into the file: it then meets its error where a run on one
// thread would, after every stage before it and before any after it.
#pragma once

namespace tarvik::app {

class RunContext;

void RunStages(RunContext& context);

}  // namespace tarvik::app
