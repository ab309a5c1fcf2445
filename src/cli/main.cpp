// tarvik-transfer: the command for users and support.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/dispatch.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return tarvik::cli::run_cli(args, stdout, stderr);
}
