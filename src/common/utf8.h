// UTF-8 and UTF-16: the one place that encodes and decodes them. Text values are UTF-16 (as Jet
// stores them); names, SQL texts, messages and the window's texts are UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

constexpr bool is_high_surrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
constexpr bool is_low_surrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
constexpr bool is_surrogate(char32_t u) { return u >= 0xD800 && u <= 0xDFFF; }
constexpr char32_t combine_surrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// Appends the UTF-8 bytes of one code point (a surrogate too, in three bytes).
void append_utf8(std::string& out, char32_t code_point);

// Appends one code point as UTF-16: a surrogate pair beyond U+FFFF.
void append_utf16(std::u16string& out, char32_t code_point);

// Decodes the sequence at text[i] and moves i past it. A malformed one (bad lead or continuation
// byte, cut off, overlong, beyond U+10FFFF) gives none and moves i by one byte. A surrogate
// encoded in three bytes decodes as itself: each caller decides what it is worth.
std::optional<char32_t> decode_utf8(std::string_view text, std::size_t& i);

// Lenient conversions, so a damaged text never stops a run: an unpaired surrogate becomes
// U+FFFD; a malformed sequence or an encoded surrogate becomes one U+FFFD and decoding goes on
// after its first byte.
std::string utf16_to_utf8(std::u16string_view text);
std::u16string utf8_to_utf16(std::string_view text);

}  // namespace tarvik
