// tarvik-transfer: the command for users and support.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/dispatch.h"
#include "platform/command_line.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  tarvik::platform::PrepareConsoleProcess();
  const std::vector<std::string> args = tarvik::platform::CommandArguments(argc, argv);
  return tarvik::cli::run_cli(args, stdout, stderr);
}
