// Folder and file tests, and listing a folder's names. Paths are UTF-8; on Windows a long one
// works too, where the C++ library's own file calls stop at 260 characters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvik::platform {

// True when a search of the folder for every name ("*.*", folders included) finds at least one
// entry. Any failure means false.
bool FolderHasEntries(const std::string& folder);
// True when `path` opens for reading as a regular file (never waits on a FIFO or device).
bool OpensAsRegularFile(const std::string& path);
// The names (not paths) in `folder`; empty when it cannot be listed.
std::vector<std::string> FolderNames(const std::string& folder);

struct FileStatus {
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // seconds since 1970-01-01 UTC
};
// The size and last modification of the file at `path`; nothing when it cannot be examined.
std::optional<FileStatus> ExamineFile(const std::string& path);
// The room this user may still fill on the disk of `folder` ("" is the current folder), in
// bytes; nothing when the system cannot say.
std::optional<std::uint64_t> FreeRoom(const std::string& folder);

}  // namespace tarvik::platform
