// The run plan: the export stages in the order the importer reads their blocks. The order is
// part of the transfer file's format.
#pragma once

#include <string_view>
#include <vector>

#include "exporters/export_context.h"

namespace tarvik::exporters {

struct ExportStage {
  std::string_view block;  // the table block the stage writes
  void (*run)(ExportContext& context);
};

const std::vector<ExportStage>& run_plan();

}  // namespace tarvik::exporters
