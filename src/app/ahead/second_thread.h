// The run's second thread: it opens record sets ahead and runs jobs behind the run's thread.
//
// Preparations: while the caller writes out one record set, a statement it will open next is
// parsed, planned and counted here, its joined tables' indexes built, so that the caller's
// open_snapshot finds it ready (through archive::ReadySnapshots). What the caller sees does not
// change: the set it takes stands where a freshly opened one stands. A preparation that fails is
// forgotten: the caller opens the statement itself and meets the error where it would have.
//
// Jobs: reading whose results the caller needs later, in the order asked, whenever no
// preparation is waiting (the caller needs its next set soon, the jobs' results only at the end).
// A job's error is kept for finish().
//
// Shared state: the queue and the stop flag, owned by this object, under mutex_.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "archive/database.h"
#include "archive/ready_snapshots.h"

namespace tarvik::app {

class SecondThread final : public archive::ReadySnapshots {
 public:
  // The archive's open_snapshot takes the sets prepared here until stop().
  explicit SecondThread(archive::Database& archive);
  // Waits for the work under way; what is left is dropped.
  ~SecondThread() override;
  SecondThread(const SecondThread&) = delete;
  SecondThread& operator=(const SecondThread&) = delete;

  // Asks for `sql` to be prepared after the preparations asked for before it.
  void prepare(std::string sql);
  // The set prepared for `sql`, waiting for it if it is under way; null when it was not asked
  // for, its preparation failed, or the caller is the second thread itself. Preparations asked
  // for before it and not taken are dropped.
  std::unique_ptr<archive::Recordset> take(std::string_view sql) override;
  // Runs `job` on the second thread after the jobs asked for before it and the preparations then
  // waiting. A job may ask for the next job itself.
  void run(std::function<void()> job);
  // Waits for every job asked for so far; throws the first error one of them threw.
  void finish();
  // Waits for the work under way and drops the rest; later requests are ignored. The archive
  // then opens every set itself again.
  void stop();

 private:
  struct Entry {
    std::uint64_t number = 0;   // in the order asked
    std::string sql;            // a preparation's statement
    std::function<void()> job;  // or a job
    std::unique_ptr<archive::Recordset> records;
    std::exception_ptr error;  // a job's
    bool done = false;
  };
  bool on_second_thread() const { return std::this_thread::get_id() == thread_id_; }
  void ask_locked(Entry entry);
  void work();
  // Runs the entry numbered `number`, outside the lock; stores what it gave if still queued.
  void run_job(std::unique_lock<std::mutex>& lock, std::uint64_t number, const std::function<void()>& job);
  void run_preparation(std::unique_lock<std::mutex>& lock, std::uint64_t number, const std::string& sql);
  Entry* find_locked(std::uint64_t number);

  archive::Database& archive_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Entry> queue_;  // in the order asked; the thread takes the first not done
  bool stopping_ = false;
  std::uint64_t asked_ = 0;
  std::thread thread_;  // started on the first request
  std::thread::id thread_id_;
};

}  // namespace tarvik::app
