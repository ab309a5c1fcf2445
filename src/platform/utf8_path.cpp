#include "platform/utf8_path.h"

namespace tarvik::platform {

// The char8_t forms are UTF-8 on every system.
std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tarvik::platform
