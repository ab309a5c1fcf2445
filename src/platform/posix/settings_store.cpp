#include "platform/settings_store.h"

namespace tarvik::platform {

bool SettingsInRegistry() { return false; }

std::optional<std::string> ReadRegistrySetting(std::string_view, std::string_view, std::string_view) {
  return std::nullopt;
}

bool WriteRegistrySetting(std::string_view, std::string_view, std::string_view, std::string_view) {
  return false;
}

}  // namespace tarvik::platform
