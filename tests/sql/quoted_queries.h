// The SQL texts the checks and exporters send, read from quoted_queries.txt beside this file.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tarvik::test {

inline std::vector<std::string> quoted_queries() {
  const auto path = std::filesystem::path(TARVIK_TESTS_SOURCE_DIR) / "sql" / "quoted_queries.txt";
  std::ifstream in(path);
  std::vector<std::string> queries;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') queries.push_back(line);
  }
  return queries;
}

}  // namespace tarvik::test
