#include "app/command_line.h"

#include "platform/command_line.h"

namespace tarvik::app {

namespace {
constexpr std::string_view kDefaultTransferPath = "ProvaExport.txt";
}

std::string CommandLineText(int argc, const char* const* argv) {
  return platform::RawCommandLineText(argc, argv);
}

std::string TransferPathFromCommandLine(std::string_view text) {
  // Trimming removes spaces only; a tab is kept as text.
  if (text.find_first_not_of(' ') == std::string_view::npos) return std::string(kDefaultTransferPath);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return std::string(text);
}

}  // namespace tarvik::app
