// The run plan: the export stages in the order the importer reads their blocks. The order is
// part of the transfer file's format.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exporters/export_context.h"

namespace tarvik::exporters {

struct ExportStage {
  std::string_view block;  // the table block the stage writes
  void (*run)(ExportContext& context);
  // The snapshot the stage opens for its records.
  std::string query;
  // The stage fills the condition-code list that later stages read: no later stage may be
  // written ahead of it.
  bool fills_condition_codes = false;
};

const std::vector<ExportStage>& run_plan();

}  // namespace tarvik::exporters
