// What an export stage reaches while it writes its block: the open archive, the transfer file,
// the condition-code list that the payment conditions fill, and the progress tick. The run owns
// all of them and hands them to each stage.
#pragma once

#include <cstdint>
#include <unordered_set>

#include "archive/database.h"
#include "transfer/transfer_writer.h"

namespace tarvik::exporters {

// The idCondPag values met while exporting the payment conditions, each at its own width.
using ConditionCodeList = std::unordered_set<std::int64_t>;

class ExportContext {
 public:
  virtual ~ExportContext() = default;
  virtual archive::Database& archive() = 0;
  virtual transfer::TransferWriter& writer() = 0;
  virtual ConditionCodeList& condition_codes() = 0;
  // Called once per record of a stage's record set, after that record's lines.
  virtual void TickProgress() = 0;
};

}  // namespace tarvik::exporters
