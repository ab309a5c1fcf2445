// Paths and bytes of the shared corpus of Access-made archives.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tarvik::test {

inline std::string corpus_file(const std::string& relative) {
  return std::string(TARVIK_CORPUS_DIR) + "/" + relative;
}

inline std::vector<std::uint8_t> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tarvik::test
