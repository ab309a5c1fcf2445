// Where the per-user settings live. On Windows it is the registry area programs of Tarvik's
// generation use, HKEY_CURRENT_USER\Software\VB and VBA Program Settings\APP\SECTION, string
// values. Elsewhere it is an INI file the application reads itself (app/settings).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvik::platform {

bool SettingsInRegistry();

// The registry value as UTF-8; nothing when the key or the value is missing or not a string
// (and always nothing where there is no registry).
std::optional<std::string> ReadRegistrySetting(std::string_view application, std::string_view section,
                                               std::string_view key);
// Writes the string value, creating the key; false when it cannot (or there is no registry).
bool WriteRegistrySetting(std::string_view application, std::string_view section, std::string_view key,
                          std::string_view value);

}  // namespace tarvik::platform
