// Paths and texts are UTF-8 inside the program and UTF-16 at every Windows call.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::platform {

std::wstring Widen(std::string_view utf8);
// A file-system path for the wide calls. A path near MAX_PATH or longer is made absolute and given
// the "\\?\" prefix, so deep folders work and a name over 255 characters is refused as a bad
// name rather than as a missing path; shorter paths keep the usual Win32 reading.
std::wstring WidePath(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace tarvik::platform
