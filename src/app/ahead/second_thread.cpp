#include "app/ahead/second_thread.h"

#include <algorithm>

#include "archive/side_reads.h"
#include "platform/memory_reuse.h"

namespace tarvik::app {

SecondThread::SecondThread(archive::Database& archive) : archive_(archive) {
  archive::SideReads(archive_).take_ready_snapshots_from(this);
}

SecondThread::~SecondThread() { stop(); }

void SecondThread::ask_locked(Entry entry) {
  if (stopping_) return;
  entry.number = ++asked_;
  queue_.push_back(std::move(entry));
  if (!thread_.joinable()) {
    thread_ = std::thread([this] { work(); });
    thread_id_ = thread_.get_id();
  }
  changed_.notify_all();
}

void SecondThread::prepare(std::string sql) {
  std::lock_guard<std::mutex> lock(mutex_);
  ask_locked(Entry{0, std::move(sql), nullptr, nullptr, nullptr, false});
}

void SecondThread::run(std::function<void()> job) {
  std::lock_guard<std::mutex> lock(mutex_);
  ask_locked(Entry{0, std::string(), std::move(job), nullptr, nullptr, false});
}

SecondThread::Entry* SecondThread::find_locked(std::uint64_t number) {
  auto same = std::find_if(queue_.begin(), queue_.end(), [&](const Entry& e) { return e.number == number; });
  return same == queue_.end() ? nullptr : &*same;
}

std::unique_ptr<archive::Recordset> SecondThread::take(std::string_view sql) {
  std::unique_lock<std::mutex> lock(mutex_);
  // A job opening a statement on the second thread must not wait for that thread.
  if (on_second_thread()) return nullptr;
  auto found = std::find_if(queue_.begin(), queue_.end(), [&](const Entry& e) { return !e.job && e.sql == sql; });
  if (found == queue_.end()) return nullptr;
  const std::uint64_t taken = found->number;
  changed_.wait(lock, [&] { return stopping_ || find_locked(taken)->done; });
  Entry* prepared = find_locked(taken);  // gone or not done when stopped meanwhile
  if (prepared == nullptr || !prepared->done) return nullptr;
  std::unique_ptr<archive::Recordset> records = std::move(prepared->records);
  // It goes, with the preparations asked for before it and never taken: the caller has moved past
  // them. Jobs stay until finish() has seen them.
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

void SecondThread::finish() {
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

void SecondThread::stop() {
  std::deque<Entry> dropped;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    changed_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
  archive::SideReads(archive_).take_ready_snapshots_from(nullptr);
  std::lock_guard<std::mutex> lock(mutex_);
  dropped.swap(queue_);
}

void SecondThread::run_job(std::unique_lock<std::mutex>& lock, std::uint64_t number,
                           const std::function<void()>& job) {
  lock.unlock();
  std::exception_ptr error;
  try {
    job();
  } catch (...) {
    error = std::current_exception();
  }
  lock.lock();
  // A job stays in the queue until finish() has seen it done.
  if (Entry* same = find_locked(number)) {
    same->error = error;
    same->done = true;
  }
}

void SecondThread::run_preparation(std::unique_lock<std::mutex>& lock, std::uint64_t number, const std::string& sql) {
  lock.unlock();
  std::unique_ptr<archive::Recordset> records;
  try {
    records = archive::SideReads(archive_).open_counted_snapshot(sql);
  } catch (...) {
    records.reset();  // forgotten: the caller opens it again and meets the error itself
  }
  lock.lock();
  // The entry may have been dropped meanwhile by a take of a later statement.
  if (Entry* same = find_locked(number)) {
    same->records = std::move(records);
    same->done = true;
  }
  if (records) {  // nobody is waiting for it: closed outside the lock
    lock.unlock();
    records.reset();
    lock.lock();
  }
}

void SecondThread::work() {
  platform::PrepareThreadHeap();
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
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
      const std::function<void()> job = next->job;
      run_job(lock, number, job);
    } else {
      const std::string sql = next->sql;
      run_preparation(lock, number, sql);
    }
    changed_.notify_all();
  }
}

}  // namespace tarvik::app
