#include "platform/command_line.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "platform/win32/wide.h"

namespace tarvik::platform {

std::string RawCommandLineText(int, const char* const*) {
  const wchar_t* line = GetCommandLineW();
  std::u16string text(reinterpret_cast<const char16_t*>(line));
  const std::u16string rest = SkipProgramName(text);
  return Narrow(std::wstring_view(reinterpret_cast<const wchar_t*>(rest.data()), rest.size()));
}

}  // namespace tarvik::platform


namespace tarvik::platform {

std::vector<std::string> CommandArguments(int, const char* const*) {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(wide[i]));
  LocalFree(wide);
  return args;
}

}  // namespace tarvik::platform
