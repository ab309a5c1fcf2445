// Paths are UTF-8 text everywhere in the program. These two are its only crossings to and from
// std::filesystem::path: the path's own constructor from a narrow string, and its string(), read
// and write the ANSI code page on Windows, which turns "è" into "Ã¨" and fails on names outside it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvik::platform {

// The path named by UTF-8 text (a command-line argument, a setting, a window's text).
std::filesystem::path PathFromUtf8(std::string_view text);
// A path as UTF-8 text, to show it or hand it to the platform's calls.
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace tarvik::platform
