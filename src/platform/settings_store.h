// Where the per-user settings live. On Windows it is the registry area programs of Tarvik's
// generation use, HKEY_CURRENT_USER\Software\VB and VBA Program Settings\APP\SECTION, string
// values. Elsewhere it is the INI file Qt programs keep (posix/settings_file.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvik::platform {

// The stored text as UTF-8; nothing when the key or the value is missing or not a string.
std::optional<std::string> ReadSetting(std::string_view application, std::string_view section,
                                       std::string_view key);
// Stores the text, creating what is missing; false when it cannot.
bool WriteSetting(std::string_view application, std::string_view section, std::string_view key,
                  std::string_view value);

}  // namespace tarvik::platform
