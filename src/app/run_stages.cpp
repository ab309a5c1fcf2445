#include "app/run_stages.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include "app/recorded_stage.h"
#include "app/run_context.h"
#include "exporters/run_plan.h"

namespace tarvik::app {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

enum class StageState { Free, Direct, Recording, Recorded, Failed };

// What both threads see; the second thread's jobs hold it, so it lives as long as they do.
struct SharedStages {
  SharedStages(std::size_t stages, std::unique_ptr<transfer::RecordingSpace> recording_space)
      : space(std::move(recording_space)), states(stages, StageState::Free), recorded(stages) {}

  // The next free stage, now being recorded; kNone when none is left. Under the mutex.
  std::size_t claim_locked() {
    if (next_free >= states.size()) return kNone;
    states[next_free] = StageState::Recording;
    return next_free++;
  }
  void store_locked(std::size_t stage, std::unique_ptr<RecordedStage> done) {
    states[stage] = done ? StageState::Recorded : StageState::Failed;
    recorded[stage] = std::move(done);
    changed.notify_all();
  }

  // First, so that it outlives the recordings that give their memory back to it.
  std::unique_ptr<transfer::RecordingSpace> space;
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<StageState> states;
  std::vector<std::unique_ptr<RecordedStage>> recorded;
  std::size_t next_free = 0;  // every stage before it is taken
  int recording_elsewhere = 0;  // jobs of the second thread under way
  std::atomic<bool> abandoned{false};
};

std::unique_ptr<RecordedStage> TryRecording(const exporters::ExportStage& stage, const RecordingPlace& place) {
  try {
    return RecordStage(stage, place);
  } catch (...) {
    return nullptr;  // run again in its turn, where it meets its error itself
  }
}

// One job of the second thread: records the next free stage, then asks for the next such job, so
// that the report's look-ups asked for meanwhile run between the recordings.
void RecordNextFree(const std::shared_ptr<SharedStages>& shared, RunContext& context) {
  std::size_t stage = kNone;
  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    if (shared->abandoned) return;
    stage = shared->claim_locked();
    if (stage == kNone) return;
    ++shared->recording_elsewhere;
  }
  const RecordingPlace place{context.archive(), context.codes, shared->space.get(), shared->abandoned};
  std::unique_ptr<RecordedStage> done = TryRecording(exporters::run_plan()[stage], place);
  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->store_locked(stage, std::move(done));
  }
  // Still counted as under way: the run cannot have closed the archive yet.
  if (!shared->abandoned) context.archive().run_ahead([shared, &context](archive::Database&) { RecordNextFree(shared, context); });
  std::lock_guard<std::mutex> lock(shared->mutex);
  --shared->recording_elsewhere;
  shared->changed.notify_all();
}

}  // namespace

void RunStages(RunContext& context) {
  const std::vector<exporters::ExportStage>& plan = exporters::run_plan();
  auto shared = std::make_shared<SharedStages>(
      plan.size(), context.transfer_file->has_file()
                       ? std::make_unique<transfer::RecordingSpace>(context.transfer_path.parent_path().string(),
                                                                    context.recording_memory)
                       : nullptr);
  // However the loop ends, no recording of the second thread outlives it.
  struct StopRecordings {
    SharedStages& shared;
    ~StopRecordings() {
      std::unique_lock<std::mutex> lock(shared.mutex);
      shared.abandoned = true;
      shared.changed.wait(lock, [&] { return shared.recording_elsewhere == 0; });
    }
  } stop{*shared};

  std::size_t codes_to_come = static_cast<std::size_t>(
      std::count_if(plan.begin(), plan.end(), [](const exporters::ExportStage& s) { return s.fills_condition_codes; }));
  bool second_thread_recording = false;
  const RecordingPlace here{context.archive(), context.codes, shared->space.get(), shared->abandoned};

  for (std::size_t turn = 0; turn < plan.size(); ++turn) {
    for (;;) {
      std::unique_lock<std::mutex> lock(shared->mutex);
      StageState& state = shared->states[turn];
      if (state == StageState::Recorded) {
        std::unique_ptr<RecordedStage> recorded = std::move(shared->recorded[turn]);
        lock.unlock();
        ReplayStage(context, *recorded);
        break;
      }
      if (state == StageState::Free || state == StageState::Failed) {
        if (state == StageState::Free) shared->next_free = turn + 1;
        state = StageState::Direct;
        // Stages after one that fills the condition codes wait for it to be written.
        if (!second_thread_recording && codes_to_come == 0) {
          second_thread_recording = true;
          context.archive().run_ahead([shared, &context](archive::Database&) { RecordNextFree(shared, context); });
        }
        lock.unlock();
        plan[turn].run(context);
        break;
      }
      // Its turn has come while the second thread records it: another free stage is recorded
      // here meanwhile, or, with none left, the recording is waited for.
      const std::size_t other = shared->claim_locked();
      if (other == kNone) {
        shared->changed.wait(lock);
        continue;
      }
      lock.unlock();
      std::unique_ptr<RecordedStage> done = TryRecording(plan[other], here);
      lock.lock();
      shared->store_locked(other, std::move(done));
    }
    if (plan[turn].fills_condition_codes) --codes_to_come;
  }
}

}  // namespace tarvik::app
