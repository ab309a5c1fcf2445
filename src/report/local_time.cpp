#include "report/local_time.h"

#include <ctime>
#include <mutex>

namespace tarvik::report {

std::string LocalTimeText(std::int64_t seconds) {
  const std::time_t when = static_cast<std::time_t>(seconds);
  std::tm parts{};
  {
    // std::localtime shares one result among its callers on some C runtimes: taken under a lock
    // and copied, it serves every system alike.
    static std::mutex shared_result;
    const std::lock_guard lock(shared_result);
    const std::tm* local = std::localtime(&when);
    if (local == nullptr) return {};
    parts = *local;
  }
  char text[32];
  if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts) == 0) return {};
  return text;
}

std::string LocalTimeNow() { return LocalTimeText(std::time(nullptr)); }

}  // namespace tarvik::report
