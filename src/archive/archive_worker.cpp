#include "archive/archive_worker.h"

#include <algorithm>

#include "platform/memory_reuse.h"

namespace tarvik::archive {

ArchiveWorker::ArchiveWorker(Prepare prepare) : prepare_(std::move(prepare)) {}

ArchiveWorker::~ArchiveWorker() { stop(); }

void ArchiveWorker::start_locked() {
  if (!worker_.joinable()) {
    worker_ = std::thread([this] { work(); });
    worker_id_ = worker_.get_id();
  }
  changed_.notify_all();
}

void ArchiveWorker::prepare(std::string sql) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stopping_) return;
  queue_.push_back(Entry{++asked_, std::move(sql), nullptr, nullptr, nullptr, false});
  start_locked();
}

void ArchiveWorker::run(std::function<void()> job) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stopping_) return;
  queue_.push_back(Entry{++asked_, std::string(), std::move(job), nullptr, nullptr, false});
  start_locked();
}

std::unique_ptr<Recordset> ArchiveWorker::take(std::string_view sql) {
  std::unique_lock<std::mutex> lock(mutex_);
  // A job opening a statement on the second thread must not wait for that thread.
  if (on_worker_thread()) return nullptr;
  auto is_it = [&](const Entry& e) { return !e.job && e.sql == sql; };
  auto found = std::find_if(queue_.begin(), queue_.end(), is_it);
  if (found == queue_.end()) return nullptr;
  changed_.wait(lock, [&] { return found->done; });
  std::unique_ptr<Recordset> records = std::move(found->records);
  // It goes, with the preparations asked for before it and never taken: the caller has moved past
  // them. Jobs stay until finish() has seen them.
  const std::uint64_t taken = found->number;
  std::deque<Entry> dropped;
  for (auto it = queue_.begin(); it != queue_.end() && it->number <= taken;) {
    if (it->job) {
      ++it;
      continue;
    }
    dropped.push_back(std::move(*it));
    it = queue_.erase(it);
  }
  lock.unlock();  // the dropped sets are closed outside the lock
  return records;
}

void ArchiveWorker::finish() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&] {
    return stopping_ || std::all_of(queue_.begin(), queue_.end(), [](const Entry& e) { return !e.job || e.done; });
  });
  std::exception_ptr first;
  for (auto it = queue_.begin(); it != queue_.end();) {
    if (!it->job) {
      ++it;
      continue;
    }
    if (!first) first = it->error;
    it = queue_.erase(it);
  }
  if (first) std::rethrow_exception(first);
}

void ArchiveWorker::stop() {
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

void ArchiveWorker::work() {
  platform::PrepareThreadHeap();
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (stopping_) return;
    // Preparations first: the caller waits for its next set soon, for the jobs only at the end.
    auto next = std::find_if(queue_.begin(), queue_.end(), [](const Entry& e) { return !e.done && !e.job; });
    if (next == queue_.end())
      next = std::find_if(queue_.begin(), queue_.end(), [](const Entry& e) { return !e.done; });
    if (next == queue_.end()) {
      changed_.wait(lock);
      continue;
    }
    const std::uint64_t number = next->number;
    if (next->job) {
      std::function<void()> job = next->job;
      lock.unlock();
      std::exception_ptr error;
      try {
        job();
      } catch (...) {
        error = std::current_exception();
      }
      lock.lock();
      // A job stays in the queue until finish() has seen it done, though take() may move it.
      auto same = std::find_if(queue_.begin(), queue_.end(), [&](const Entry& e) { return e.number == number; });
      if (same != queue_.end()) {
        same->error = error;
        same->done = true;
      }
      changed_.notify_all();
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
    // The entry may have been dropped meanwhile by a take of a later statement.
    auto same = std::find_if(queue_.begin(), queue_.end(), [&](const Entry& e) { return e.number == number; });
    if (same != queue_.end()) {
      same->records = std::move(records);
      same->done = true;
    }
    changed_.notify_all();
    if (records) {  // nobody is waiting for it
      lock.unlock();
      records.reset();
      lock.lock();
    }
  }
}

}  // namespace tarvik::archive
