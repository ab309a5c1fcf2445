// Where the per-user settings live outside Windows: one INI file per application, where Qt's
// QSettings keeps it (IniFormat, user scope, organization and application both the
// application's name), read and written with its rules (ini_text.h).
#pragma once

#include <filesystem>
#include <string_view>

namespace tarvik::platform {

// $XDG_CONFIG_HOME, or $HOME/.config when it is unset or empty, then
// "<application>/<application>.ini".
std::filesystem::path SettingsFilePath(std::string_view application);

}  // namespace tarvik::platform
