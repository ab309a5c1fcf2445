#include "platform/settings_store.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace tarvik::platform {

namespace {

std::wstring key_path(std::string_view application, std::string_view section) {
  return L"Software\\VB and VBA Program Settings\\" + Widen(application) + L"\\" + Widen(section);
}

}  // namespace

std::optional<std::string> ReadSetting(std::string_view application, std::string_view section,
                                       std::string_view key) {
  HKEY hkey = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key_path(application, section).c_str(), 0, KEY_QUERY_VALUE, &hkey) !=
      ERROR_SUCCESS)
    return std::nullopt;
  const std::wstring name = Widen(key);
  DWORD type = 0;
  DWORD bytes = 0;
  std::optional<std::string> result;
  if (RegQueryValueExW(hkey, name.c_str(), nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(hkey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) ==
        ERROR_SUCCESS) {
      value.resize(size / sizeof(wchar_t));
      // The stored string may or may not carry its terminating zero.
      while (!value.empty() && value.back() == L'\0') value.pop_back();
      result = Narrow(value);
    }
  }
  RegCloseKey(hkey);
  return result;
}

bool WriteSetting(std::string_view application, std::string_view section, std::string_view key,
                  std::string_view value) {
  HKEY hkey = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key_path(application, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &hkey, nullptr) != ERROR_SUCCESS)
    return false;
  const std::wstring text = Widen(value);
  const bool ok = RegSetValueExW(hkey, Widen(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  RegCloseKey(hkey);
  return ok;
}

}  // namespace tarvik::platform
