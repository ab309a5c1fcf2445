// The console the command writes to.
#pragma once

#include <cstdio>

namespace tarvik::platform {

// Prepares the process: UTF-8 console output on Windows, and on POSIX a file size limit that
// fails the write (reported as a full disk) instead of killing the process.
void PrepareConsoleProcess();
// True when the stream is an interactive terminal or console.
bool IsTerminal(std::FILE* stream);

}  // namespace tarvik::platform
