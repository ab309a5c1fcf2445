// Snapshots opened ahead on a second thread. While the caller writes out one record set, the
// statement it will open next is parsed and planned there, its joined tables' indexes are built
// and its rows counted, so that the caller finds it ready. What the caller sees does not change:
// the set it takes stands where a freshly opened one stands, and its count becomes exact only on
// move_last, which then costs nothing. A preparation that fails is forgotten: the caller opens the
// statement itself and meets the error where it would have met it.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "archive/recordset.h"

namespace tarvik::archive {

class SnapshotPreparer {
 public:
  // How a statement is opened and counted, on the second thread.
  using Prepare = std::function<std::unique_ptr<Recordset>(std::string_view sql)>;

  explicit SnapshotPreparer(Prepare prepare);
  // Waits for the preparation under way; the sets nobody took are closed.
  ~SnapshotPreparer();
  SnapshotPreparer(const SnapshotPreparer&) = delete;
  SnapshotPreparer& operator=(const SnapshotPreparer&) = delete;

  // Asks for `sql` to be prepared after those asked for before it.
  void prepare(std::string sql);
  // The set prepared for `sql`, waiting for it if it is under way; null when it was not asked
  // for or its preparation failed. Preparations asked for before it and not taken are dropped.
  std::unique_ptr<Recordset> take(std::string_view sql);
  // Waits for the preparation under way and drops the rest; later requests are ignored.
  void stop();

 private:
  struct Entry {
    std::string sql;
    std::unique_ptr<Recordset> records;
    bool done = false;
  };
  void work();

  Prepare prepare_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Entry> queue_;  // in the order asked; the worker takes the first not done
  bool stopping_ = false;
  std::thread worker_;  // started on the first request
};

}  // namespace tarvik::archive
