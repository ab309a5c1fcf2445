// tarvik-transfer: the command for users and support.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/dispatch.h"
#include "cli/usage.h"
#include "platform/command_line.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  tarvik::platform::PrepareConsoleProcess();
  const std::vector<std::string> args = tarvik::platform::CommandArguments(argc, argv);
  // Double-clicked in Explorer: the console would vanish with the usage error before anyone read
  // it. A shortcut or a scheduled task that gives a command runs it as a script would.
  if (args.empty() && tarvik::platform::AloneOnConsole()) {
    tarvik::cli::print_console_notice(stdout);
    tarvik::platform::WaitForKey();
    return tarvik::cli::kExitBadUsage;
  }
  return tarvik::cli::run_cli(args, stdout, stderr);
}
