// The queries of the later checks and of the department question, which the run has opened ahead.
#pragma once

namespace tarvik::checks {

extern const char* const kWithoutDestinationQuery;  // the missing destinations check
extern const char* const kLocationsQuery;           // the department question

}  // namespace tarvik::checks
