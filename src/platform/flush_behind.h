// Puts a file on disk behind its writer. A thread of its own asks the system, every 25 ms
// while bytes keep coming, to write to disk what the file holds so far; the flush at the
// end, which a user waits for, then finds little left to write. A failure is kept for the end:
// a system reports a failed write to disk only once, so a later flush could otherwise succeed
// over lost bytes.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/file_error.h"

namespace tarvik::platform {

class FlushBehind {
 public:
  // `flush` writes the file's data to disk (fdatasync, FlushFileBuffers).
  explicit FlushBehind(std::function<FileError()> flush);
  ~FlushBehind();
  FlushBehind(const FlushBehind&) = delete;
  FlushBehind& operator=(const FlushBehind&) = delete;

  // Bytes were written since the last flush.
  void wrote();
  // Stops the thread, after the flush under way; returns the first failure of its flushes.
  FileError stop();

 private:
  void run();

  std::function<FileError()> flush_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool written_ = false;
  bool stopping_ = false;
  FileError failure_ = FileError::None;
  std::thread thread_;
};

}  // namespace tarvik::platform
