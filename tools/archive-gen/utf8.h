// UTF-8 <-> UTF-16 for names and texts coming from descriptions and going into Jet's UCS-2.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::archive_gen {

// Throws std::runtime_error on malformed UTF-8.
std::u16string utf8_to_utf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string utf16_to_utf8(std::u16string_view text);

}  // namespace tarvik::archive_gen
