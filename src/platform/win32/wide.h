// Paths and texts are UTF-8 inside the program and UTF-16 at every Windows call.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::platform {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace tarvik::platform
