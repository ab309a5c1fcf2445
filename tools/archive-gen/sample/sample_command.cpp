#include "sample_command.h"

#include <cstdio>
#include <exception>

#include "archive-gen/jet_writer.h"
#include "archive-gen/writer_options_parse.h"
#include "sample_generator.h"

namespace tarvik::archive_gen {

int run_sample_command(const std::vector<std::string>& args) {
  std::string error;
  const auto options = sample::parse_sample_options(args, error);
  if (!options) {
    std::fprintf(stderr, "archive-gen sample: %s\nusage: archive-gen sample [--scale N] [--seed S] "
                         "[--variant outdated|duplicate-suppliers|missing-destination] "
                         "[--texts ansi|unicode] %s OUT.mdb\n",
                 error.c_str(), kWriterOptionsUsage);
    return 2;
  }
  try {
    const auto counts = sample::write_sample_archive(*options);
    for (const auto& count : counts) std::printf("%s %llu\n", count.table.c_str(), static_cast<unsigned long long>(count.rows));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "archive-gen sample: %s\n", e.what());
    return 1;
  }
}

}  // namespace tarvik::archive_gen
