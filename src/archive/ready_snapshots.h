// Snapshots opened before they were asked for, by whoever knows what the caller opens next
// (the run's second thread). The engine only asks; it knows nothing of when or where they open.
#pragma once

#include <memory>
#include <string_view>

#include "archive/recordset.h"

namespace tarvik::archive {

class ReadySnapshots {
 public:
  virtual ~ReadySnapshots() = default;
  // A set opened on exactly `sql` and not yet taken, in the state a fresh open gives; null when
  // there is none. May wait for one being opened; must not wait when called from the thread that
  // opens them.
  virtual std::unique_ptr<Recordset> take(std::string_view sql) = 0;
};

}  // namespace tarvik::archive
