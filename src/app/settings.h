// The settings the export reads, through the platform's per-user settings store
// (platform/settings_store.h): the registry on Windows, Qt's INI file elsewhere.
#pragma once

#include <string>

namespace tarvik::app {

// Tarvik's installation folder, as the settings store holds it ("" when absent): on Windows the
// registry value HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Tarvik\Installazione,
// Cartella; elsewhere the key Cartella of the group Installazione in Tarvik/Tarvik.ini.
std::string ReadInstallationFolder();

}  // namespace tarvik::app
