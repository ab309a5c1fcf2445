// The export stages, written in the plan's order on two threads (run_ahead.h says when). The run's own thread writes the
// stage whose turn it is straight into the transfer file; the archive's second thread takes the
// next stage nobody has taken and records it (RecordStage), and in its turn the recording is
// copied in. When the stage whose turn it is is still being recorded, the run's thread records
// the next free stage itself rather than wait. A recording that fails is dropped and its stage
// run again in its turn, straight into the file: it then meets its error where a run on one
// thread would, after every stage before it and before any after it.
//
// Recording starts as soon as the archive is open, while the checks run and the department
// question waits for its answer: a recording writes nothing anyone sees until its turn, and is
// dropped if the run ends before. Only the stages that read the condition codes wait for the
// stage that fills them to be written.
#pragma once

#include <memory>
#include <string>

namespace tarvik::app {

class RunContext;
class SecondThread;
struct SharedStages;

class StagesAhead {
 public:
  // The archive (at `archive_path`) must be open.
  StagesAhead(RunContext& context, SecondThread& second, const std::string& archive_path);
  // Starts recording on `second`, after the jobs asked of it before.
  void start();
  // Stops the recordings under way and drops them: the run has ended.
  ~StagesAhead();
  StagesAhead(const StagesAhead&) = delete;
  StagesAhead& operator=(const StagesAhead&) = delete;

  // Writes every stage in the plan's order; the transfer file must be open.
  void WriteAll();
  // Stops the recordings under way, so that the archive can be closed without waiting for them.
  void stop();

 private:
  RunContext& context_;
  SecondThread& second_;
  std::shared_ptr<SharedStages> shared_;
};

}  // namespace tarvik::app
