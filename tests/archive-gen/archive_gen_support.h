// Shared pieces of the writer's tests: where their archives go, and reading an archive back
// through the project's own reader.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/jet/jet_file.h"
#include "archive/value.h"

namespace tarvik::test {

// A path in the test's temporary folder, unique to this process.
inline std::string temp_archive(const std::string& name) {
  return ::testing::TempDir() + "archive_gen_" + std::to_string(::getpid()) + "_" + name + ".mdb";
}

inline std::vector<std::uint8_t> file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline bool file_exists(const std::string& path) { return std::ifstream(path).good(); }

inline std::vector<std::vector<archive::Value>> read_table(const archive::jet::JetFile& file,
                                                           const std::string& table) {
  const auto def = file.table(table);
  auto scan = file.scan(def);
  std::vector<std::vector<archive::Value>> rows;
  std::vector<archive::Value> row;
  while (scan.next(row)) rows.push_back(row);
  return rows;
}

}  // namespace tarvik::test
