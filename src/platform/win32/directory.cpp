#include "platform/directory.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace tarvik::platform {

namespace {

std::wstring search_pattern(const std::string& folder) {
  std::wstring pattern = WidePath(folder.empty() ? "." : folder);
  if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  return pattern + L"*.*";
}

}  // namespace

bool FolderHasEntries(const std::string& folder) {
  // "*.*" matches every name, folders included ("." among them).
  WIN32_FIND_DATAW found{};
  HANDLE h = FindFirstFileExW(search_pattern(folder).c_str(), FindExInfoBasic, &found,
                              FindExSearchNameMatch, nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  return true;
}

bool OpensAsRegularFile(const std::string& path) {
  HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool regular = GetFileType(h) == FILE_TYPE_DISK;
  CloseHandle(h);
  return regular;
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  HANDLE h = FindFirstFileExW(search_pattern(folder).c_str(), FindExInfoBasic, &found,
                              FindExSearchNameMatch, nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(Narrow(found.cFileName));
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return names;
}

}  // namespace tarvik::platform
