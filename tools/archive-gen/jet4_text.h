// Jet4's text storage: UCS-2 little-endian, or "compressed unicode" (an FF FE marker, then one
// byte per character for U+0001..U+00FF, a 0x00 byte switching to and from two-byte characters).
// Access compresses only when it saves space; a text holding a character whose low byte is 0
// (U+0100, U+4E00, many surrogates...) is never compressed, because that byte would read as the
// switch.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarvik::archive_gen {

// The stored bytes of `text`. With `may_compress` false (memos over 1024 characters) the text is
// plain UCS-2 unless it starts with U+FEFF, whose bytes would read as the compression marker.
// Throws std::runtime_error for a text that Jet cannot store unambiguously (U+FEFF first and a
// character with a zero low byte).
std::vector<std::uint8_t> encode_jet4_text(std::u16string_view text, bool may_compress);

}  // namespace tarvik::archive_gen
