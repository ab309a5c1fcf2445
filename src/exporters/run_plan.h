// The run plan: the export stages in the order the importer reads their blocks. The order is
// part of the transfer file's format.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exporters/export_context.h"

namespace tarvik::exporters {

// How a stage uses the condition-code list: the payment conditions fill it, the blocks that map
// a payment condition read it.
enum class ConditionCodes { Unused, Fills, Reads };

struct ExportStage {
  std::string_view block;  // the table block the stage writes
  void (*run)(ExportContext& context);
  // The snapshot the stage opens for its records.
  std::string query;
  // A stage that reads the list may be written ahead only once the stage that fills it is written.
  ConditionCodes condition_codes = ConditionCodes::Unused;
};

const std::vector<ExportStage>& run_plan();

}  // namespace tarvik::exporters
