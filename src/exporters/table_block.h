// A table block as data: the query that gives its records, the name line, and the fields written
// for each record with their treatment. Most exporters are one such description; the few with a
// rule of their own (rewritten codes, left-out records) use the same pieces around it.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "archive/recordset.h"
#include "exporters/export_context.h"

namespace tarvik::exporters {

enum class Treatment {
  Plain,          // WriteValue with the raw flag false: text cleaned of control characters
  RawMemo,        // WriteValue with the raw flag true, then the memo end marker line
  MappedCondPag,  // through MapCondPag, then plain
};

struct BlockField {
  std::string_view name;
  Treatment treatment = Treatment::Plain;
};

struct TableBlock {
  std::string_view name;   // the table-name line
  std::string_view query;  // the snapshot that gives the records, in Jet's dialect
  std::vector<BlockField> fields;
};

// Called after a record's lines are written, before the move to the next record.
using AfterRecord = std::function<void(archive::Recordset& records)>;

// The block's name and count lines, before its records. A writer to the transfer file needs the
// count first, so the set is moved to its last record and back; a writer that records the block
// ahead takes the count once the records are written, and the set is read once.
void StartBlock(ExportContext& context, std::string_view name, archive::Recordset& records);
// After the records: the count line filled in if it was left open, and the block finished.
void FinishBlock(ExportContext& context, std::string_view name, std::int32_t written,
                 std::optional<archive::UnmatchedRows> unmatched = std::nullopt);

// Opens the block's query, makes its count exact, writes the name and count lines and every
// record's value lines, ticking the progress once per record.
void ExportBlock(ExportContext& context, const TableBlock& block, const AfterRecord& after = {});

// The value lines of one field of the current record, by its treatment.
void WriteField(ExportContext& context, archive::Recordset& records, const BlockField& field);

}  // namespace tarvik::exporters
