// The raw command-line text that follows the program's name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvik::platform {

// On Windows the process's own command line with the program name skipped by the system's
// quoting rules, so the spacing and quotes the user typed are kept. On POSIX the shell has
// already split the arguments: they are joined again with single blanks.
std::string RawCommandLineText(int argc, const char* const* argv);

// The arguments after the program's name, UTF-8 (on Windows read from the wide command line, so
// names outside the ANSI code page survive).
std::vector<std::string> CommandArguments(int argc, const char* const* argv);

// The program name skipped from a Windows command line: a name starting with a double quote
// runs to the next double quote, any other to the first blank or tab; blanks after it go too.
std::u16string SkipProgramName(std::u16string_view command_line);

}  // namespace tarvik::platform
