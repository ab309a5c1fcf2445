// A scratch file for bytes that do not fit in memory. It has no name another program could open,
// and the system deletes it when it is closed or the process ends, even when the process is
// killed: nothing of it can be left behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_error.h"

namespace tarvik::platform {

class SpillFile {
 public:
  // A new, empty scratch file on the disk of `folder` (UTF-8).
  static std::unique_ptr<SpillFile> create(const std::string& folder, FileError& error);
  virtual ~SpillFile() = default;

  // Adds all of `data` at the end.
  virtual FileError append(const char* data, std::size_t size) = 0;
  // Reads exactly `size` bytes at `offset`, all written before.
  virtual FileError read(std::uint64_t offset, char* data, std::size_t size) = 0;
};

}  // namespace tarvik::platform
