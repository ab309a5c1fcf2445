// What an export stage reaches while it writes its block: the open archive, the transfer file,
// the condition-code list that the payment conditions fill, and the progress tick. The run owns
// all of them and hands them to each stage.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
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

  // A block's record set is open and about to be written; then the block is complete with
  // `written` records, and `unmatched` its query's rows that gave no record, when its walk noted
  // them. For the transfer report; a run without one ignores them.
  virtual void BlockStarted(std::string_view /*block*/, archive::Recordset& /*records*/) {}
  virtual void BlockFinished(std::string_view /*block*/, std::int32_t /*written*/,
                             std::optional<archive::UnmatchedRows> /*unmatched*/) {}

  // The field whose value line is being written, so that a changed value can be named.
  std::string_view field_being_written;
};

}  // namespace tarvik::exporters
