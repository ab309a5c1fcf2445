// A new file written from start to end, held locked while it is written, then flushed and moved
// over its target in one step. The lock tells a later run that a leftover file under a temporary
// name belongs to a run that is still going (locked) or to one that was killed (lockable).
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/file_error.h"

namespace tarvik::platform {

class NewFile {
 public:
  // Creates `path` (UTF-8); fails with AlreadyExists when something is there. The file stays
  // locked until closed, so that RemoveIfUnlocked leaves it alone.
  static std::unique_ptr<NewFile> create(const std::string& path, FileError& error);
  virtual ~NewFile() = default;  // closes if still open

  // Writes all of `data`; returns None or what stopped it (a zero-length write is DiskFull).
  virtual FileError write(const char* data, std::size_t size) = 0;
  // Puts what is written on disk now, so that flush_and_close has little left to do.
  virtual FileError flush() = 0;
  // Flushes to disk and closes; a full disk may show only here.
  virtual FileError flush_and_close() = 0;
};

// Moves `from` over `to`, replacing a file there, and waits until the move is on disk.
FileError ReplaceFile(const std::string& from, const std::string& to);
// Deletes a file; a failure (missing file, held by another program) is ignored.
void RemoveFile(const std::string& path) noexcept;
// Deletes `path` only if no live NewFile holds it: true when it was deleted.
bool RemoveIfUnlocked(const std::string& path) noexcept;

}  // namespace tarvik::platform
