// tarvik-transfer: the command for users and support.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/dispatch.h"

int main(int argc, char** argv) {
  // A file size limit must fail the write (reported as a full disk), not kill the process.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return tarvik::cli::run_cli(args, stdout, stderr);
}
