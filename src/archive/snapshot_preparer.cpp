#include "archive/snapshot_preparer.h"

#include <algorithm>

namespace tarvik::archive {

SnapshotPreparer::SnapshotPreparer(Prepare prepare) : prepare_(std::move(prepare)) {}

SnapshotPreparer::~SnapshotPreparer() { stop(); }

void SnapshotPreparer::prepare(std::string sql) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stopping_) return;
  queue_.push_back(Entry{std::move(sql), nullptr, false});
  if (!worker_.joinable()) worker_ = std::thread([this] { work(); });
  changed_.notify_all();
}

std::unique_ptr<Recordset> SnapshotPreparer::take(std::string_view sql) {
  std::unique_lock<std::mutex> lock(mutex_);
  auto found = std::find_if(queue_.begin(), queue_.end(), [&](const Entry& e) { return e.sql == sql; });
  if (found == queue_.end()) return nullptr;
  changed_.wait(lock, [&] { return found->done; });
  std::unique_ptr<Recordset> records = std::move(found->records);
  // Sets asked for earlier and never taken are stale: the caller has moved past them.
  std::deque<Entry> dropped;
  dropped.insert(dropped.end(), std::make_move_iterator(queue_.begin()), std::make_move_iterator(found + 1));
  queue_.erase(queue_.begin(), found + 1);
  lock.unlock();  // the dropped sets are closed outside the lock
  return records;
}

void SnapshotPreparer::stop() {
  std::deque<Entry> dropped;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    changed_.notify_all();
  }
  if (worker_.joinable()) worker_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  dropped.swap(queue_);
}

void SnapshotPreparer::work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    auto next = std::find_if(queue_.begin(), queue_.end(), [](const Entry& e) { return !e.done; });
    if (stopping_) return;
    if (next == queue_.end()) {
      changed_.wait(lock);
      continue;
    }
    const std::string sql = next->sql;
    lock.unlock();
    std::unique_ptr<Recordset> records;
    try {
      records = prepare_(sql);
    } catch (...) {
      records.reset();  // forgotten: the caller opens it again and meets the error itself
    }
    lock.lock();
    // The entry may have been dropped meanwhile by a take of a later statement: find it again.
    auto same = std::find_if(queue_.begin(), queue_.end(), [&](const Entry& e) { return !e.done && e.sql == sql; });
    if (same != queue_.end()) {
      same->records = std::move(records);
      same->done = true;
    }
    changed_.notify_all();
    if (same == queue_.end() && records) {
      lock.unlock();
      records.reset();
      lock.lock();
    }
  }
}

}  // namespace tarvik::archive
