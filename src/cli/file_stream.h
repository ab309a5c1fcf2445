// A file read from start to end through the platform, as a stream for the readers that take one:
// its path is UTF-8 and may be long on Windows too, where std::ifstream reads a narrow path in the
// ANSI code page and stops at 260 characters.
#pragma once

#include <cstdint>
#include <memory>
#include <streambuf>
#include <vector>

#include "platform/archive_file.h"

namespace tarvik::cli {

class FileStreamBuffer : public std::streambuf {
 public:
  explicit FileStreamBuffer(std::unique_ptr<platform::ArchiveFile> file);

 protected:
  int_type underflow() override;

 private:
  std::unique_ptr<platform::ArchiveFile> file_;
  std::vector<char> buffer_;
  std::uint64_t offset_ = 0;
};

}  // namespace tarvik::cli
