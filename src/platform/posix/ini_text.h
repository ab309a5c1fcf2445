// One key of an INI file's text (UTF-8), read and written with QSettings' rules (ini_syntax.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvik::platform {

// The text of `key` in `section`; nothing when the key is absent.
std::optional<std::string> FindIniText(std::string_view ini, std::string_view section, std::string_view key);

// The file's text with `key` in `section` set to `value`: the key's line changed where it is,
// or a line added at the end of its section, or the section added at the end. The rest of the
// file stays as it was.
std::string SetIniText(std::string_view ini, std::string_view section, std::string_view key,
                       std::string_view value);

}  // namespace tarvik::platform
