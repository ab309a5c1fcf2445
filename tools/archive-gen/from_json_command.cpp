#include "from_json_command.h"

#include <fstream>
#include <iostream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "description.h"

namespace tarvik::archive_gen {

int run_from_json_command(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::cerr << "usage: archive-gen from-json DESCRIPTION.json OUT.mdb\n";
    return 2;
  }
  std::ifstream in(args[0], std::ios::binary);
  if (!in) {
    std::cerr << "archive-gen: cannot read " << args[0] << "\n";
    return 1;
  }
  try {
    nlohmann::json description;
    try {
      description = nlohmann::json::parse(in);
    } catch (const nlohmann::json::exception& e) {
      throw std::runtime_error(args[0] + " is not valid JSON: " + e.what());
    }
    write_archive(description, args[1]);
  } catch (const std::runtime_error& e) {
    std::cerr << "archive-gen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace tarvik::archive_gen
