// The facts the report's heading gives about a file and about the moment of the export.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace tarvik::report {

struct FileFacts {
  std::uintmax_t size = 0;
  std::string modified;  // local time, "yyyy-mm-dd hh:mm:ss"; empty when unknown
};

// Never fails: a file that cannot be examined gives size 0 and no time.
FileFacts FactsOf(const std::filesystem::path& path);

// The present local time, "yyyy-mm-dd hh:mm:ss".
std::string LocalTimeNow();

}  // namespace tarvik::report
