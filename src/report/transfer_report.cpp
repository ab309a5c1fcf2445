#include "report/transfer_report.h"

#include "report/change_text.h"
#include "report/left_out_rules.h"
#include "report/record_keys.h"

namespace tarvik::report {

void TransferReport::BlockStarted(std::string_view block) {
  blocks_.emplace_back();
  blocks_.back().name = std::string(block);
}

void NoteChangedValue(BlockReport& block, std::string_view field, archive::Recordset& records,
                      const transfer::ValueChange& change) {
  CappedList<ChangedValue>& changed = block.changed;
  // Past the shown entries only the count grows: no text is formed for a value nobody will read.
  if (changed.shown().size() >= kEntriesShown) {
    changed.add_unlisted(1);
    return;
  }
  changed.add({std::string(field), RecordKey(block.name, records), DescribeChange(change)});
}

void TransferReport::ValueChanged(std::string_view field, archive::Recordset& records,
                                  const transfer::ValueChange& change) {
  if (blocks_.empty()) return;  // the header lines carry no archive values
  NoteChangedValue(blocks_.back(), field, records, change);
}

BlockReport& TransferReport::BlockFinished(std::int32_t written, std::optional<archive::UnmatchedRows> unmatched) {
  BlockReport& block = blocks_.back();
  block.written = written;
  block.unmatched = std::move(unmatched);
  return block;
}

BlockReport& TransferReport::BlockRecorded(BlockReport block) { return blocks_.emplace_back(std::move(block)); }

void TransferReport::FindLeftOut(archive::Database& archive, BlockReport& block) {
  left_out_.Find(archive, block, table_counts_);
}

ReportTotals TransferReport::totals() const {
  ReportTotals totals;
  for (const BlockReport& block : blocks_) {
    totals.written += block.written;
    totals.left_out += block.left_out.count();
    totals.changed += block.changed.count();
  }
  return totals;
}

}  // namespace tarvik::report
