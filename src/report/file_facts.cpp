#include "report/file_facts.h"

#include <chrono>
#include <ctime>

namespace tarvik::report {

namespace {

std::string local_time_text(std::time_t when) {
  std::tm parts{};
  // The C runtimes differ in their thread-safe local time call.
#ifdef _WIN32
  if (localtime_s(&parts, &when) != 0) return {};
#else
  if (localtime_r(&when, &parts) == nullptr) return {};
#endif
  char text[32];
  if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts) == 0) return {};
  return text;
}

}  // namespace

FileFacts FactsOf(const std::filesystem::path& path) {
  FileFacts facts;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error) facts.size = size;
  const auto modified = std::filesystem::last_write_time(path, error);
  if (!error) {
    const auto system_time = std::chrono::file_clock::to_sys(modified);
    facts.modified = local_time_text(std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(system_time)));
  }
  return facts;
}

std::string LocalTimeNow() { return local_time_text(std::time(nullptr)); }

}  // namespace tarvik::report
