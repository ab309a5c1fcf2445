#include "jet4_text.h"

#include <array>
#include <limits>
#include <stdexcept>

namespace tarvik::archive_gen {

namespace {

bool one_byte(char16_t c) { return c >= 0x01 && c <= 0xFF; }
bool low_byte_zero(char16_t c) { return (c & 0xFF) == 0; }

std::vector<std::uint8_t> plain(std::u16string_view text) {
  std::vector<std::uint8_t> out;
  out.reserve(text.size() * 2);
  for (char16_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

// The shortest compressed form: a two-state walk (one-byte mode, two-byte mode) where each switch
// costs the 0x00 byte. Texts are at most 1024 characters here, so the table stays small.
std::vector<std::uint8_t> compressed(std::u16string_view text) {
  constexpr std::size_t kInf = std::numeric_limits<std::size_t>::max() / 4;
  const std::size_t n = text.size();
  // cost[i][m]: bytes for text[0, i) ending in mode m (0 one-byte, 1 two-byte).
  std::vector<std::array<std::size_t, 2>> cost(n + 1, {kInf, kInf});
  std::vector<std::array<std::uint8_t, 2>> from(n + 1, {0, 0});
  cost[0] = {0, 1};
  from[0] = {0, 0};
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    for (int m = 0; m < 2; ++m) {
      const std::size_t step = (m == 0) ? (one_byte(c) ? 1 : kInf) : 2;
      if (step == kInf) continue;
      for (int prev = 0; prev < 2; ++prev) {
        if (cost[i][prev] >= kInf) continue;
        const std::size_t c2 = cost[i][prev] + (prev != m ? 1 : 0) + step;
        if (c2 < cost[i + 1][m]) {
          cost[i + 1][m] = c2;
          from[i + 1][m] = static_cast<std::uint8_t>(prev);
        }
      }
    }
  }
  std::vector<int> modes(n);
  int m = cost[n][0] <= cost[n][1] ? 0 : 1;
  for (std::size_t i = n; i > 0; --i) {
    modes[i - 1] = m;
    m = from[i][m];
  }
  std::vector<std::uint8_t> out{0xFF, 0xFE};
  int mode = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (modes[i] != mode) {
      out.push_back(0x00);
      mode = modes[i];
    }
    out.push_back(static_cast<std::uint8_t>(text[i]));
    if (mode == 1) out.push_back(static_cast<std::uint8_t>(text[i] >> 8));
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> encode_jet4_text(std::u16string_view text, bool may_compress) {
  bool compressible = true;
  for (char16_t c : text)
    if (low_byte_zero(c)) compressible = false;
  const bool starts_with_marker = !text.empty() && text[0] == 0xFEFF;
  if (!compressible) {
    if (starts_with_marker)
      throw std::runtime_error(
          "a text starting with U+FEFF and holding a character whose low byte is 0 cannot be "
          "stored");
    return plain(text);
  }
  if (!may_compress && !starts_with_marker) return plain(text);
  std::vector<std::uint8_t> packed = compressed(text);
  if (starts_with_marker || packed.size() < text.size() * 2) return packed;
  return plain(text);
}

}  // namespace tarvik::archive_gen
