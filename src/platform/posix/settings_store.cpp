#include "platform/settings_store.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/posix/ini_text.h"
#include "platform/posix/settings_file.h"
#include "platform/utf8_path.h"

namespace tarvik::platform {

namespace {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

}  // namespace

std::filesystem::path SettingsFilePath(std::string_view application) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path base;
  if (config != nullptr && *config != '\0') {
    base = PathFromUtf8(config);
  } else {
    const char* home = std::getenv("HOME");
    base = PathFromUtf8(home != nullptr && *home != '\0' ? home : "/") / ".config";
  }
  return base / PathFromUtf8(application) / PathFromUtf8(std::string(application) + ".ini");
}

std::optional<std::string> ReadSetting(std::string_view application, std::string_view section,
                                       std::string_view key) {
  const std::optional<std::string> ini = ReadWholeFile(SettingsFilePath(application));
  if (!ini) return std::nullopt;
  return FindIniText(*ini, section, key);
}

bool WriteSetting(std::string_view application, std::string_view section, std::string_view key,
                  std::string_view value) {
  const std::filesystem::path file = SettingsFilePath(application);
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  const std::string text = SetIniText(ReadWholeFile(file).value_or(""), section, key, value);
  // Written beside the file and renamed over it, so a reader never sees half a file.
  std::filesystem::path temporary = file;
  temporary += ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush()) {
      std::filesystem::remove(temporary, error);
      return false;
    }
  }
  std::filesystem::rename(temporary, file, error);
  if (!error) return true;
  std::filesystem::remove(temporary, error);
  return false;
}

}  // namespace tarvik::platform
