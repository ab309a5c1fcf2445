// UTF-8 to UTF-16 for names and texts coming from descriptions and going into Jet's UCS-2.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::archive_gen {

// Throws std::runtime_error on malformed UTF-8.
std::u16string utf8_to_utf16(std::string_view text);

}  // namespace tarvik::archive_gen
