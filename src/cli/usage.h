// The commands of tarvik-transfer and the text that says how to use them (help and wrong usage).
#pragma once

#include <cstdio>
#include <string_view>

#include "cli/command.h"

namespace tarvik::cli {

struct CommandEntry {
  std::string_view name;
  std::string_view arguments;
  std::string_view summary;
  int (*run)(CommandArgs, CommandIo&);
};

// The command of that name; null when there is none.
const CommandEntry* find_command(std::string_view name);

// Every command with its arguments and what it does, and the exit codes.
void print_usage(std::FILE* to);

}  // namespace tarvik::cli
