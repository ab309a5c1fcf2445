#include "exporters/table_block.h"

#include "exporters/map_cond_pag.h"
#include "transfer/ensure_count.h"
#include "transfer/memo_end_marker.h"

namespace tarvik::exporters {

namespace {

void WriteTreated(ExportContext& context, const archive::Value& value, Treatment treatment) {
  transfer::TransferWriter& writer = context.writer();
  switch (treatment) {
    case Treatment::Plain:
      writer.WriteValue(value, false);
      break;
    case Treatment::RawMemo:
      writer.WriteValue(value, true);
      writer.WriteTextLine(transfer::kMemoEndMarker);
      break;
    case Treatment::MappedCondPag:
      writer.WriteValue(MapCondPag(context.condition_codes(), value), false);
      break;
  }
}

}  // namespace

void WriteField(ExportContext& context, archive::Recordset& records, const BlockField& field) {
  WriteTreated(context, records.field(field.name), field.treatment);
}

void ExportBlock(ExportContext& context, const TableBlock& block, const AfterRecord& after) {
  auto records = context.archive().open_snapshot(block.query);
  transfer::EnsureCount(*records);
  context.writer().WriteTextLine(block.name);
  context.writer().WriteNumberLine(records->record_count());
  // The fields are found by name once, on the first record (an empty set asks for none).
  std::vector<std::size_t> positions;
  if (!records->eof()) {
    for (const BlockField& field : block.fields) positions.push_back(records->field_index(field.name));
  }
  while (!records->eof()) {
    for (std::size_t i = 0; i < positions.size(); ++i)
      WriteTreated(context, records->field(positions[i]), block.fields[i].treatment);
    if (after) after(*records);
    records->move_next();
    context.TickProgress();
  }
  records->close();
}

}  // namespace tarvik::exporters
