#include "platform/command_line.h"

namespace tarvik::platform {

std::string RawCommandLineText(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

}  // namespace tarvik::platform

namespace tarvik::platform {

std::vector<std::string> CommandArguments(int argc, const char* const* argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace tarvik::platform
