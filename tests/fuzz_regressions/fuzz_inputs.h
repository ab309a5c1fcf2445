// The inputs kept in tests/fuzz_regressions/<target>/: each once made its fuzz target crash, and
// each is replayed through the target's own code by the regression tests.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tarvik::test {

struct FuzzInput {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

inline std::vector<FuzzInput> fuzz_regression_inputs(const std::string& target) {
  const auto folder = std::filesystem::path(TARVIK_TESTS_SOURCE_DIR) / "fuzz_regressions" / target;
  std::vector<FuzzInput> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    inputs.push_back({entry.path().filename().string(),
                      {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}});
  }
  std::sort(inputs.begin(), inputs.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return inputs;
}

}  // namespace tarvik::test
