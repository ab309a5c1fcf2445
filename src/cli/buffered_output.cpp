#include "cli/buffered_output.h"

#include <cerrno>
#include <string>

#include "platform/console.h"

namespace tarvik::cli {

namespace {

// What stopped the write, in Italian as the rest of the program; the C library's own text is
// English.
std::string failure_reason(int error) {
  switch (error) {
    case ENOSPC: return "disco pieno";
    case EFBIG: return "file troppo grande";
    case EPIPE: return "chi leggeva l'uscita l'ha chiusa";
    case 0: return "errore di I/O";
    default: return "errore di I/O n. " + std::to_string(error);
  }
}

}  // namespace

BufferedOutput::BufferedOutput(std::FILE* file) : file_(file) { buffer_.reserve(kFlushAt + 4096); }

BufferedOutput::~BufferedOutput() {
  if (!buffer_.empty()) platform::WriteText(file_, buffer_);
  std::fflush(file_);
}

void BufferedOutput::flush() {
  errno = 0;
  const bool complete = platform::WriteText(file_, buffer_);
  buffer_.clear();
  if (!complete || std::fflush(file_) != 0)
    throw OutputError("impossibile scrivere l'uscita: " + failure_reason(errno));
}

}  // namespace tarvik::cli
