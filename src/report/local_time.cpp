#include "report/local_time.h"

#include <ctime>

namespace tarvik::report {

std::string LocalTimeText(std::int64_t seconds) {
  const std::time_t when = static_cast<std::time_t>(seconds);
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

std::string LocalTimeNow() { return LocalTimeText(std::time(nullptr)); }

}  // namespace tarvik::report
