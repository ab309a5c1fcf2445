// The sample archive's own random numbers: splitmix64 to seed, xoshiro256** to draw. Written out here
// (rather than taken from <random>'s distributions, whose output differs between library versions) so
// that the same seed gives the same archive on every platform and compiler.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tarvik::archive_gen::sample {

inline std::uint64_t splitmix64(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// FNV-1a, to give every table its own stream: adding a table never shifts another table's values.
constexpr std::uint64_t stream_id(std::string_view name) {
  std::uint64_t h = 0xCBF29CE484222325ULL;
  for (char c : name) h = (h ^ static_cast<std::uint8_t>(c)) * 0x100000001B3ULL;
  return h;
}

class Rng {
 public:
  // A stream for (seed, stream, index): documents draw their lines from their own stream, so a
  // header and its rows agree without either being kept in memory.
  Rng(std::uint64_t seed, std::uint64_t stream, std::uint64_t index = 0) {
    std::uint64_t sm = seed ^ (stream * 0xD1B54A32D192ED03ULL) ^ (index * 0x8CB92BA72F3D8DD7ULL);
    for (auto& word : s_) word = splitmix64(sm);
  }

  std::uint64_t next() {
    const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
  }

  // A whole number in [0, n); n > 0. Multiply-shift: no modulo bias worth speaking of at these sizes.
  std::uint32_t below(std::uint32_t n) {
    return static_cast<std::uint32_t>(((next() >> 32) * static_cast<std::uint64_t>(n)) >> 32);
  }
  // A whole number in [lo, hi].
  std::int32_t between(std::int32_t lo, std::int32_t hi) {
    return lo + static_cast<std::int32_t>(below(static_cast<std::uint32_t>(hi - lo + 1)));
  }
  // True `per_mille` times in a thousand.
  bool chance(std::uint32_t per_mille) { return below(1000) < per_mille; }

  template <typename T>
  const T& pick(std::span<const T> items) {
    return items[below(static_cast<std::uint32_t>(items.size()))];
  }

 private:
  static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  std::uint64_t s_[4];
};

}  // namespace tarvik::archive_gen::sample
