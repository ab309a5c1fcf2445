// archive-gen: writes Jet3 and Jet4 archives. Each subcommand is a function taking its arguments.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "from_json_command.h"
#if __has_include("sample/sample_command.h")
#include "sample/sample_command.h"
#define TARVIK_ARCHIVE_GEN_SAMPLE 1
#endif

// The sample command may be declared in the global namespace or in archive_gen's.
namespace tarvik::archive_gen {}
using namespace tarvik::archive_gen;

namespace {

struct Subcommand {
  const char* name;
  const char* usage;
  int (*run)(const std::vector<std::string>& args);
};

const Subcommand kSubcommands[] = {
    {"from-json", "from-json [--format jet3|jet4] [--layout fresh|aged] [--layout-seed N] DESCRIPTION.json OUT.mdb",
     &run_from_json_command},
#ifdef TARVIK_ARCHIVE_GEN_SAMPLE
    {"sample",
     "sample [--scale N] [--seed S] [--variant V] [--texts ansi|unicode] [--format jet3|jet4] "
     "[--layout fresh|aged] [--layout-seed N] OUT.mdb",
     &tarvik::archive_gen::run_sample_command},
#endif
};

int usage() {
  std::cerr << "usage:\n";
  for (const Subcommand& s : kSubcommands) std::cerr << "  archive-gen " << s.usage << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  for (const Subcommand& s : kSubcommands)
    if (std::strcmp(argv[1], s.name) == 0)
      return s.run(std::vector<std::string>(argv + 2, argv + argc));
  return usage();
}
