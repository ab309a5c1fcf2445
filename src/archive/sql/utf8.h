// Conversions between the UTF-8 of SQL texts and names and the UTF-16 of text values.
#pragma once

#include <string>
#include <string_view>

#include "archive/value.h"

namespace tarvik::archive::sql {

// Malformed UTF-8 bytes become U+FFFD.
Text utf16_from_utf8(std::string_view s);
// Unpaired surrogates become U+FFFD.
std::string utf8_from_utf16(const Text& t);

}  // namespace tarvik::archive::sql
