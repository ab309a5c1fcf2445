// Paths and bytes of the shared corpus of Access-made archives. A missing corpus or corpus file
// throws, so the test that needs it fails loudly instead of running on an empty buffer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvik::test {

inline std::string corpus_file(const std::string& relative) {
  const std::filesystem::path folder(TARVIK_CORPUS_DIR);
  if (!std::filesystem::is_directory(folder))
    throw std::runtime_error("the shared corpus is missing: " + folder.string() +
                             " (configure with -DTARVIK_CORPUS_DIR=...)");
  const std::filesystem::path path = folder / relative;
  if (!std::filesystem::is_regular_file(path))
    throw std::runtime_error("corpus file missing: " + path.string());
  return path.string();
}

// The whole file; a file that cannot be read, or reads empty, throws.
inline std::vector<std::uint8_t> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  if (bytes.empty()) throw std::runtime_error("empty file: " + path);
  return bytes;
}

}  // namespace tarvik::test
