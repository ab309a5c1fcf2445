#include "cli/buffered_output.h"

#include <cerrno>
#include <cstring>

namespace tarvik::cli {

BufferedOutput::BufferedOutput(std::FILE* file) : file_(file) { buffer_.reserve(kFlushAt + 4096); }

BufferedOutput::~BufferedOutput() {
  if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
  std::fflush(file_);
}

void BufferedOutput::flush() {
  const std::size_t written = std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
  const bool complete = written == buffer_.size();
  buffer_.clear();
  if (!complete || std::fflush(file_) != 0)
    throw OutputError(std::string("cannot write the output: ") + std::strerror(errno));
}

}  // namespace tarvik::cli
