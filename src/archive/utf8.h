// Conversions between the UTF-16 of text values and the UTF-8 of names, SQL texts and messages.
// Both are lenient: what cannot be converted becomes U+FFFD, so a damaged text never stops a run.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::archive {

// An unpaired surrogate becomes U+FFFD.
std::string utf16_to_utf8(std::u16string_view text);
// A malformed sequence (bad lead or continuation byte, cut off, overlong, a surrogate code
// point, beyond U+10FFFF) becomes one U+FFFD and decoding goes on after its first byte.
std::u16string utf8_to_utf16(std::string_view text);

}  // namespace tarvik::archive
