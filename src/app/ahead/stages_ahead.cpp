#include "app/ahead/stages_ahead.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/ahead/recorded_stage.h"
#include "app/ahead/second_thread.h"
#include "app/run_context.h"
#include "exporters/run_plan.h"

namespace tarvik::app {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

enum class StageState { Free, Direct, Recording, Recorded, Failed };

bool fills_codes(const exporters::ExportStage& stage) {
  return stage.condition_codes == exporters::ConditionCodes::Fills;
}

std::unique_ptr<RecordedStage> TryRecording(const exporters::ExportStage& stage, const RecordingPlace& place) {
  try {
    return RecordStage(stage, place);
  } catch (...) {
    return nullptr;  // run again in its turn, where it meets its error itself
  }
}

}  // namespace

// What both threads see of the stages: owned jointly by StagesAhead and the second thread's jobs
// (so it lives as long as they do); everything but `plan`, `space` and `abandoned` under `mutex`.
struct SharedStages {
  SharedStages(const std::vector<exporters::ExportStage>& plan, std::unique_ptr<transfer::RecordingSpace> recording_space)
      : plan(plan), space(std::move(recording_space)), states(plan.size(), StageState::Free), recorded(plan.size()) {
    for (const exporters::ExportStage& stage : plan) codes_to_come += fills_codes(stage) ? 1 : 0;
  }

  // The first free stage that may be recorded now, taken; kNone when there is none. A stage that
  // fills the condition codes is never recorded, and one that reads them waits until they are
  // written. Under the mutex.
  std::size_t claim_locked() {
    for (std::size_t stage = 0; stage < states.size(); ++stage) {
      if (states[stage] != StageState::Free || fills_codes(plan[stage])) continue;
      if (plan[stage].condition_codes == exporters::ConditionCodes::Reads && codes_to_come > 0) continue;
      states[stage] = StageState::Recording;
      return stage;
    }
    return kNone;
  }
  void store_locked(std::size_t stage, std::unique_ptr<RecordedStage> done) {
    states[stage] = done ? StageState::Recorded : StageState::Failed;
    recorded[stage] = std::move(done);
    changed.notify_all();
  }

  const std::vector<exporters::ExportStage>& plan;
  // Before the recordings, so that it outlives those that give their memory back to it.
  std::unique_ptr<transfer::RecordingSpace> space;
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<StageState> states;
  std::vector<std::unique_ptr<RecordedStage>> recorded;
  std::size_t codes_to_come = 0;  // stages filling the condition codes not yet written
  int recording_elsewhere = 0;    // jobs of the second thread under way
  bool chain_asked = false;       // a recording job is asked for or under way
  std::atomic<bool> abandoned{false};
};

namespace {

// One job of the second thread: records the next stage it may, then asks for the next such job,
// so that the report's look-ups asked for meanwhile run between the recordings. With nothing to
// record now, the chain stops; writing a stage that fills the condition codes starts it again.
void RecordNext(const std::shared_ptr<SharedStages>& shared, RunContext& context, SecondThread& second) {
  std::size_t stage = kNone;
  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    if (shared->abandoned) return;
    stage = shared->claim_locked();
    if (stage == kNone) {
      shared->chain_asked = false;
      return;
    }
    ++shared->recording_elsewhere;
  }
  const RecordingPlace place{context.archive(), context.codes, shared->space.get(), shared->abandoned};
  std::unique_ptr<RecordedStage> done = TryRecording(shared->plan[stage], place);
  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->store_locked(stage, std::move(done));
  }
  // Still counted as under way: the run cannot have closed the archive yet.
  if (!shared->abandoned) second.run([shared, &context, &second] { RecordNext(shared, context, second); });
  std::lock_guard<std::mutex> lock(shared->mutex);
  --shared->recording_elsewhere;
  shared->changed.notify_all();
}

// Under the mutex.
void StartRecordingLocked(const std::shared_ptr<SharedStages>& shared, RunContext& context, SecondThread& second) {
  if (shared->chain_asked) return;
  shared->chain_asked = true;
  second.run([shared, &context, &second] { RecordNext(shared, context, second); });
}

}  // namespace

StagesAhead::StagesAhead(RunContext& context, SecondThread& second, const std::string& archive_path)
    : context_(context),
      second_(second),
      shared_(std::make_shared<SharedStages>(exporters::run_plan(), MakeRecordingSpace(context, archive_path))) {}

void StagesAhead::start() {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  StartRecordingLocked(shared_, context_, second_);
}

StagesAhead::~StagesAhead() { stop(); }

void StagesAhead::stop() {
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->abandoned = true;
  shared_->changed.wait(lock, [&] { return shared_->recording_elsewhere == 0; });
}

void StagesAhead::WriteAll() {
  SharedStages& shared = *shared_;
  const std::vector<exporters::ExportStage>& plan = shared.plan;
  std::size_t turn = 0;  // the stage whose turn it is

  // Copies in the recorded stages whose turn has come, one after the other.
  auto write_recorded_turns = [&] {
    for (;;) {
      std::unique_lock<std::mutex> lock(shared.mutex);
      if (turn >= plan.size() || shared.states[turn] != StageState::Recorded) return;
      std::unique_ptr<RecordedStage> recorded = std::move(shared.recorded[turn]);
      lock.unlock();
      ReplayStage(context_, *recorded);
      ++turn;
    }
  };
  // While this thread records a stage, the stages recorded meanwhile on the second thread are
  // copied in as their turn comes, so that their memory is free again soon. A failure there (the
  // transfer file's) ends the run: it is kept and thrown once the recording has stopped.
  std::exception_ptr turn_failure;
  const RecordingPlace here{context_.archive(), context_.codes, shared.space.get(), shared.abandoned, [&] {
                              try {
                                write_recorded_turns();
                              } catch (...) {
                                turn_failure = std::current_exception();
                                throw;
                              }
                            }};

  while (turn < plan.size()) {
    write_recorded_turns();
    if (turn >= plan.size()) break;
    std::unique_lock<std::mutex> lock(shared.mutex);
    StageState& state = shared.states[turn];
    if (state == StageState::Free || state == StageState::Failed) {
      state = StageState::Direct;
      lock.unlock();
      plan[turn].run(context_);
      if (fills_codes(plan[turn])) {
        lock.lock();
        // The stages that read the codes may now be recorded.
        if (--shared.codes_to_come == 0) StartRecordingLocked(shared_, context_, second_);
      }
      ++turn;
      continue;
    }
    if (state == StageState::Recorded) continue;
    // Its turn has come while the second thread records it: another stage is recorded here
    // meanwhile, or, with none left, the recording is waited for.
    const std::size_t other = shared.claim_locked();
    if (other == kNone) {
      shared.changed.wait(lock);
      continue;
    }
    lock.unlock();
    std::unique_ptr<RecordedStage> done = TryRecording(plan[other], here);
    if (turn_failure) std::rethrow_exception(turn_failure);
    lock.lock();
    shared.store_locked(other, std::move(done));
  }
}

}  // namespace tarvik::app
