// The line after every raw memo value: the only way the importer finds where a value that may
// span several lines ends. Defined once as text; its bytes in the file are derived from it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tarvik::transfer {

inline constexpr std::u16string_view kMemoEndMarker = u"@#£$%&/()=?<>FINE MEMO@#£$%&/()=?<>";

namespace detail {
// The marker in Windows-1252: every character is ASCII but "£", the one byte 0xA3.
constexpr std::array<char, kMemoEndMarker.size()> memo_end_marker_bytes() {
  std::array<char, kMemoEndMarker.size()> bytes{};
  for (std::size_t i = 0; i < kMemoEndMarker.size(); ++i) {
    const char16_t c = kMemoEndMarker[i];
    bytes[i] = c == u'£' ? '\xA3' : static_cast<char>(c);
  }
  return bytes;
}
inline constexpr auto kMemoEndMarkerByteArray = memo_end_marker_bytes();
}  // namespace detail

// The marker's bytes as the transfer file holds them.
inline constexpr std::string_view kMemoEndMarkerBytes(detail::kMemoEndMarkerByteArray.data(),
                                                      detail::kMemoEndMarkerByteArray.size());

}  // namespace tarvik::transfer
