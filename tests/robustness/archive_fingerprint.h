// What a test compares to prove that nothing was written to an archive: its size, a hash of all
// its bytes and its modification time to the nanosecond.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <stdexcept>

namespace tarvik::test {

struct FileFingerprint {
  std::uintmax_t size = 0;
  std::uint64_t hash = 0;  // FNV-1a, 64 bits
  std::int64_t mtime_ns = 0;
  friend bool operator==(const FileFingerprint&, const FileFingerprint&) = default;
  friend std::ostream& operator<<(std::ostream& out, const FileFingerprint& f) {
    return out << "{size " << f.size << ", hash " << std::hex << f.hash << std::dec << ", mtime "
               << f.mtime_ns << " ns}";
  }
};

inline FileFingerprint fingerprint(const std::filesystem::path& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) throw std::runtime_error("cannot stat " + path.string());
  FileFingerprint f;
  f.size = static_cast<std::uintmax_t>(st.st_size);
  f.mtime_ns = std::int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  f.hash = 14695981039346656037ull;
  std::ifstream in(path, std::ios::binary);
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i)
      f.hash = (f.hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
  }
  return f;
}

}  // namespace tarvik::test
