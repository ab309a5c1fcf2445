#include "app/file_tests.h"

#include <filesystem>

#include "platform/directory.h"

namespace tarvik::app {

namespace {
// The separator a folder text gets is the system's own: the Windows user sees "C:\Tarvik\".
constexpr char kFolderSeparator = static_cast<char>(std::filesystem::path::preferred_separator);
}  // namespace

std::string NormalizeFolder(const std::string& folder) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) return folder;
  return folder + kFolderSeparator;
}

bool DirExists(const std::string& folder) { return platform::FolderHasEntries(folder); }

bool FileExists(const std::string& path) {
  std::string file = path;
  if (!file.empty() && (file.back() == '\\' || file.back() == '/')) file.pop_back();
  return platform::OpensAsRegularFile(file);
}

}  // namespace tarvik::app
