// The commands of tarvik-transfer and the texts that say how to use them: the whole usage (help
// and wrong usage), and the notice of a program started on a console of its own.
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

// Said when the command is started with a console of its own, as a double click in Explorer
// starts it: the console closes as soon as the program ends, so what would be an error for a
// script is an explanation for a person, with the short usage, before the caller waits for a key.
void print_console_notice(std::FILE* to);

}  // namespace tarvik::cli
