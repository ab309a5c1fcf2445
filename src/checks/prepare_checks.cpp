#include "checks/archive_checks.h"
#include "checks/check_queries.h"

namespace tarvik::checks {

void PrepareLaterChecks(archive::Database& archive) {
  archive.prepare_snapshot(kWithoutDestinationQuery);
  archive.prepare_snapshot(kLocationsQuery);
}

}  // namespace tarvik::checks
