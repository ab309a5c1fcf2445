#include "platform/console.h"

#include <unistd.h>

#include <csignal>

namespace tarvik::platform {

void PrepareConsoleProcess() {
  // A file size limit must fail the write (reported as a full disk), not kill the process.
  std::signal(SIGXFSZ, SIG_IGN);
}

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

bool WriteText(std::FILE* stream, std::string_view utf8) {
  return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size();
}

// A terminal outlives the programs it runs.
bool AloneOnConsole() { return false; }

void WaitForKey() {}

}  // namespace tarvik::platform
