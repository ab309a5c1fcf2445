// The queries of the last check and of the department question, which the run opens ahead.
#pragma once

namespace tarvik::checks {

extern const char* const kWithoutDestinationQuery;  // the missing destinations check
extern const char* const kLocationsQuery;           // the department question

}  // namespace tarvik::checks
