// Output for commands that print a lot (a table of millions of rows): lines are built in one
// large buffer and written with one call when it fills, instead of a stream flush per line.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

namespace tarvik::cli {

// The output could not be written (disk full, closed pipe).
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class BufferedOutput {
 public:
  explicit BufferedOutput(std::FILE* file);
  ~BufferedOutput();  // writes what is left, ignoring errors: call flush() to see them
  BufferedOutput(const BufferedOutput&) = delete;
  BufferedOutput& operator=(const BufferedOutput&) = delete;

  // The pending text; append a line's text here, then call end_line().
  std::string& text() { return buffer_; }
  void end_line() {
    buffer_ += '\n';
    if (buffer_.size() >= kFlushAt) flush();
  }
  // Writes the pending text and flushes the file. Throws OutputError.
  void flush();

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  std::FILE* file_;
  std::string buffer_;
};

}  // namespace tarvik::cli
