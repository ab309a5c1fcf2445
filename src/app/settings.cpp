#include "app/settings.h"

#include "platform/settings_store.h"

namespace tarvik::app {

std::string ReadInstallationFolder() { return platform::ReadSetting("Tarvik", "Installazione", "Cartella").value_or(""); }

}  // namespace tarvik::app
