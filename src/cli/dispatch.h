// The entry of tarvik-transfer: picks the subcommand from a small table, runs it and maps its
// failures to messages and exit codes.
#pragma once

#include <cstdio>
#include <span>
#include <string>

namespace tarvik::cli {

// `args` are the words after the program name. Returns the process exit code.
int run_cli(std::span<const std::string> args, std::FILE* out, std::FILE* err);

}  // namespace tarvik::cli
