#include "exporters/table_block.h"

#include "exporters/map_cond_pag.h"
#include "transfer/ensure_count.h"
#include "transfer/memo_end_marker.h"

namespace tarvik::exporters {

namespace {

void WriteTreated(ExportContext& context, transfer::TransferWriter& writer, const archive::Value& value,
                  const BlockField& field) {
  context.field_being_written = field.name;
  switch (field.treatment) {
    case Treatment::Plain:
      writer.WriteValue(value, false);
      break;
    case Treatment::RawMemo:
      writer.WriteValue(value, true);
      writer.WriteTextLine(transfer::kMemoEndMarker);
      break;
    case Treatment::MappedCondPag: {
      const archive::Value mapped = MapCondPag(context.condition_codes(), value);
      if (mapped.is_null() && !value.is_null()) writer.NoteChange(transfer::ChangeKind::ConditionDropped, value);
      writer.WriteValue(mapped, false);
      break;
    }
  }
}

}  // namespace

void WriteField(ExportContext& context, archive::Recordset& records, const BlockField& field) {
  WriteTreated(context, context.writer(), records.field(field.name), field);
}

void StartBlock(ExportContext& context, std::string_view name, archive::Recordset& records) {
  transfer::TransferWriter& writer = context.writer();
  if (!writer.counts_later()) transfer::EnsureCount(records);
  context.BlockStarted(name, records);
  writer.WriteTextLine(name);
  if (writer.counts_later())
    writer.WriteCountLater();
  else
    writer.WriteNumberLine(records.record_count());
}

void FinishBlock(ExportContext& context, std::string_view name, std::int32_t written,
                 std::optional<archive::UnmatchedRows> unmatched) {
  if (context.writer().counts_later()) context.writer().FillCount(written);
  context.BlockFinished(name, written, std::move(unmatched));
}

void ExportBlock(ExportContext& context, const TableBlock& block, const AfterRecord& after) {
  auto records = context.archive().open_snapshot(block.query);
  StartBlock(context, block.name, *records);
  // The fields are found by name once, on the first record (an empty set asks for none).
  std::vector<std::size_t> positions;
  if (!records->eof()) {
    for (const BlockField& field : block.fields) positions.push_back(records->field_index(field.name));
  }
  transfer::TransferWriter& writer = context.writer();  // the same for the whole block
  while (!records->eof()) {
    const std::vector<archive::Value>& values = records->values();
    for (std::size_t i = 0; i < positions.size(); ++i) WriteTreated(context, writer, values[positions[i]], block.fields[i]);
    if (after) after(*records);
    records->move_next();
    context.TickProgress();
  }
  const std::int32_t written = records->record_count();
  std::optional<archive::UnmatchedRows> unmatched = records->take_unmatched_rows();
  records->close();
  FinishBlock(context, block.name, written, std::move(unmatched));
}

}  // namespace tarvik::exporters
