// The transfer report as the run fills it: one entry per block in the order the blocks are
// written, the values changed while the block was written, and, once it is complete, the rows
// its query left out. It never touches the transfer file.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/database.h"
#include "report/block_report.h"
#include "report/left_out_rules.h"
#include "transfer/value_observer.h"

namespace tarvik::report {

// The lines above the tables: what was exported, from where, to where and when.
struct ReportHeading {
  std::string archive_path;
  std::uintmax_t archive_size = 0;
  std::string archive_modified;  // "yyyy-mm-dd hh:mm:ss", local time
  std::optional<std::string> transfer_path;  // none for a dry run
  std::uintmax_t transfer_size = 0;
  std::string exported_at;
  std::int32_t total = 0;   // header line 1
  bool departments = false;  // header line 2
};

struct ReportTotals {
  std::int64_t written = 0;
  std::int64_t left_out = 0;
  std::int64_t changed = 0;
};

// Notes in `block` a value written changed; `records` stands on its record.
void NoteChangedValue(BlockReport& block, std::string_view field, archive::Recordset& records,
                      const transfer::ValueChange& change);

class TransferReport {
 public:
  void BlockStarted(std::string_view block);
  // A value of the current block was written changed; `records` stands on its record.
  void ValueChanged(std::string_view field, archive::Recordset& records, const transfer::ValueChange& change);
  // The current block is complete with `written` records; its left-out rows are still to be
  // found (FindLeftOut).
  BlockReport& BlockFinished(std::int32_t written, std::optional<archive::UnmatchedRows> unmatched);
  // A block written ahead, off the file, with its changed values and `written` set: it takes its
  // place as the next block, its left-out rows still to be found.
  BlockReport& BlockRecorded(BlockReport block);
  // Finds the rows a complete block's query left out. The blocks are looked up one after the
  // other in the run's order, on one thread at a time, which may be another thread than the one
  // adding the next blocks meanwhile; the archive stays open until the last look-up has ended.
  void FindLeftOut(archive::Database& archive, BlockReport& block);
  // The row counts of the archive's tables, as the run took them for its total.
  TableCounts& table_counts() { return table_counts_; }

  ReportHeading& heading() { return heading_; }
  const ReportHeading& heading() const { return heading_; }
  // A deque: a block being looked up on another thread stays where it is while the next ones are
  // added. Shared without a lock of its own: the run's thread adds blocks and fills the current
  // one; a complete block is handed to the look-up through a queue's lock (the second thread's),
  // and read again only after the look-ups have ended.
  const std::deque<BlockReport>& blocks() const { return blocks_; }
  ReportTotals totals() const;

 private:
  ReportHeading heading_;
  TableCounts table_counts_;
  LeftOutFinder left_out_;
  std::deque<BlockReport> blocks_;
};

}  // namespace tarvik::report
