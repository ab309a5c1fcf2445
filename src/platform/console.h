// The console the command writes to.
#pragma once

#include <cstdio>
#include <string_view>

namespace tarvik::platform {

// Prepares the process: UTF-8 console output on Windows, and on POSIX a file size limit that
// fails the write (reported as a full disk) instead of killing the process.
void PrepareConsoleProcess();
// True when the stream is an interactive terminal or console.
bool IsTerminal(std::FILE* stream);
// Writes UTF-8 text to the stream; false when it could not be written. On a Windows console the
// text goes as UTF-16 through the console's own call: the C library writes a console's bytes one
// by one or through the ANSI code page, either way "è" would show as two wrong characters.
bool WriteText(std::FILE* stream, std::string_view utf8);
// True when the process is the only one on its console: on Windows, a console program started from
// Explorer gets a console of its own, which closes the moment it ends; one started from a Prompt or
// a script shares its console with them. Never on POSIX.
bool AloneOnConsole();
// Waits for a key pressed on the console; returns at once when there is no console to read.
void WaitForKey();

}  // namespace tarvik::platform
