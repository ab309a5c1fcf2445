// The folder and archive tests that run before anything is opened. Neither ever raises: any
// failure means "no".
#pragma once

#include <string>

namespace tarvik::app {

// The folder text as the run uses it: the system's separator ("\" on Windows, "/" elsewhere)
// appended when the text ends in neither "/" nor "\" (an empty text becomes the separator alone).
std::string NormalizeFolder(const std::string& folder);

// True when the folder can be listed and holds at least one entry.
bool DirExists(const std::string& folder);
// True when the file (one trailing "\" or "/" removed) opens for reading as a regular file.
bool FileExists(const std::string& path);

}  // namespace tarvik::app
