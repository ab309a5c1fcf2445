// The archive's second thread. It opens snapshots ahead: while the caller writes out one record
// set, the statement it will open next is parsed and planned there, its joined tables' indexes
// are built and its rows counted, so that the caller finds it ready. What the caller sees does not
// change: the set it takes stands where a freshly opened one stands, and its count becomes exact
// only on move_last, which then costs nothing. A preparation that fails is forgotten: the caller
// opens the statement itself and meets the error where it would have met it.
//
// It also runs jobs behind the caller (reading that the caller needs only later, such as the
// report's look-ups of a block already written), in the order asked, whenever no preparation is
// waiting: the caller needs its next set soon and the jobs' results only at the end. A job's error
// is kept for finish().
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

#include "archive/recordset.h"

namespace tarvik::archive {

class ArchiveWorker {
 public:
  // How a statement is opened and counted, on the second thread.
  using Prepare = std::function<std::unique_ptr<Recordset>(std::string_view sql)>;

  explicit ArchiveWorker(Prepare prepare);
  // Waits for the work under way; what is left is dropped.
  ~ArchiveWorker();
  ArchiveWorker(const ArchiveWorker&) = delete;
  ArchiveWorker& operator=(const ArchiveWorker&) = delete;

  // Asks for `sql` to be prepared after the preparations asked for before it.
  void prepare(std::string sql);
  // The set prepared for `sql`, waiting for it if it is under way; null when it was not asked
  // for, its preparation failed, or the caller is the second thread itself. Preparations asked
  // for before it and not taken are dropped.
  std::unique_ptr<Recordset> take(std::string_view sql);
  // Runs `job` on the second thread after the jobs asked for before it and the preparations then
  // waiting.
  void run(std::function<void()> job);
  // Waits for every job asked for so far; throws the first error one of them threw.
  void finish();
  // Waits for the work under way and drops the rest; later requests are ignored.
  void stop();

 private:
  bool on_worker_thread() const { return std::this_thread::get_id() == worker_id_; }
  struct Entry {
    std::uint64_t number = 0;   // in the order asked
    std::string sql;            // a preparation's statement
    std::function<void()> job;  // or a job
    std::unique_ptr<Recordset> records;
    std::exception_ptr error;  // a job's
    bool done = false;
  };
  void start_locked();
  void work();

  Prepare prepare_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Entry> queue_;  // in the order asked; the worker takes the first not done
  bool stopping_ = false;
  std::uint64_t asked_ = 0;
  std::thread worker_;  // started on the first request
  std::thread::id worker_id_;
};

}  // namespace tarvik::archive
