#include "from_json_command.h"

#include <fstream>
#include <iostream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "description.h"
#include "writer_options_parse.h"

namespace tarvik::archive_gen {

int run_from_json_command(const std::vector<std::string>& args) {
  WriterOptions options;
  std::vector<std::string> paths;
  std::string error;
  for (std::size_t i = 0; i < args.size() && error.empty(); ++i) {
    if (parse_writer_option(args, i, options, error)) continue;
    if (args[i].starts_with("--")) error = "unknown option " + args[i];
    else paths.push_back(args[i]);
  }
  if (error.empty() && paths.size() != 2) error = "a description and an output file are needed";
  if (!error.empty()) {
    std::cerr << "archive-gen from-json: " << error << "\nusage: archive-gen from-json "
              << kWriterOptionsUsage << " DESCRIPTION.json OUT.mdb\n";
    return 2;
  }
  std::ifstream in(paths[0], std::ios::binary);
  if (!in) {
    std::cerr << "archive-gen: cannot read " << paths[0] << "\n";
    return 1;
  }
  try {
    nlohmann::json description;
    try {
      description = nlohmann::json::parse(in);
    } catch (const nlohmann::json::exception& e) {
      throw std::runtime_error(paths[0] + " is not valid JSON: " + e.what());
    }
    write_archive(description, paths[1], options);
  } catch (const std::runtime_error& e) {
    std::cerr << "archive-gen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace tarvik::archive_gen
