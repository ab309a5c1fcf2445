// The times the report's heading gives: the archive's last modification and the moment of the
// export, both in local time.
#pragma once

#include <cstdint>
#include <string>

namespace tarvik::report {

// A moment given in seconds since 1970-01-01 UTC as local time, "yyyy-mm-dd hh:mm:ss"; empty when
// the system cannot say.
std::string LocalTimeText(std::int64_t seconds);

// The present local time, "yyyy-mm-dd hh:mm:ss".
std::string LocalTimeNow();

}  // namespace tarvik::report
