// Folder and file tests, and listing a folder's names.
#pragma once

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

}  // namespace tarvik::platform
