// The per-user settings store: one INI file per application, laid out and escaped the way Qt's
// QSettings writes it (IniFormat, user scope, organization and application both the application's
// name), so a file written by QSettings or by hand reads the same here. Read without Qt, so that
// the console command can use it too.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik::app {

// Where the settings of `application` live: $XDG_CONFIG_HOME, or $HOME/.config when it is unset
// or empty, then "<application>/<application>.ini".
std::filesystem::path SettingsFilePath(std::string_view application);

// The text of `key` in `section` of an INI file's bytes (UTF-8), with QSettings' rules for
// comments, quotes, escapes, line continuations and lists; nothing when the key is absent.
std::optional<std::string> FindIniText(std::string_view ini, std::string_view section,
                                       std::string_view key);

// One text value of the application's settings, or `default_value` when the file or the key is
// missing.
std::string GetSetting(std::string_view application, std::string_view section, std::string_view key,
                       std::string_view default_value);

// Tarvik's installation folder, as the settings store holds it ("" when absent): on Windows the
// registry value HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Tarvik\Installazione,
// Cartella; elsewhere the INI file above.
std::string ReadInstallationFolder();

}  // namespace tarvik::app
