// The command line of the export window: its text, and the transfer file path taken from it.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::app {

// The text that follows the program's name: on Windows exactly as typed (the process's own command
// line, the program name skipped by the system's quoting rules); on POSIX the shell has already
// split it into arguments, so they are joined again with single blanks.
std::string CommandLineText(int argc, const char* const* argv);

// The transfer file path: "ProvaExport.txt" when the text is empty or only blanks; otherwise the
// text itself, untrimmed, without one pair of double quotes when it both begins and ends with one.
std::string TransferPathFromCommandLine(std::string_view text);

}  // namespace tarvik::app
