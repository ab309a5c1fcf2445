#include "platform/directory.h"

#include <windows.h>

#include "platform/win32/owned_handle.h"
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
  const OwnedHandle h(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return h.valid() && GetFileType(h.get()) == FILE_TYPE_DISK;
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

std::optional<FileStatus> ExamineFile(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  // FILETIME counts 100-nanosecond steps from 1601; 1970 is this many of them later.
  constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;
  const std::uint64_t written =
      (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return FileStatus{(static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                    (static_cast<std::int64_t>(written) - static_cast<std::int64_t>(kUnixEpoch)) / 10000000};
}

std::optional<std::uint64_t> FreeRoom(const std::string& folder) {
  std::wstring path = WidePath(folder.empty() ? "." : folder);
  if (path.back() != L'\\' && path.back() != L'/') path += L'\\';  // a share's root needs it
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(path.c_str(), &available, nullptr, nullptr)) return std::nullopt;
  return available.QuadPart;
}

}  // namespace tarvik::platform
