#include "exporters/table_block.h"

#include "exporters/map_cond_pag.h"
#include "transfer/ensure_count.h"
#include "transfer/memo_end_marker.h"

namespace tarvik::exporters {

void WriteField(ExportContext& context, archive::Recordset& records, const BlockField& field) {
  transfer::TransferWriter& writer = context.writer();
  const archive::Value& value = records.field(field.name);
  switch (field.treatment) {
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

void ExportBlock(ExportContext& context, const TableBlock& block, const AfterRecord& after) {
  auto records = context.archive().open_snapshot(block.query);
  transfer::EnsureCount(*records);
  context.writer().WriteTextLine(block.name);
  context.writer().WriteNumberLine(records->record_count());
  while (!records->eof()) {
    for (const BlockField& field : block.fields) WriteField(context, *records, field);
    if (after) after(*records);
    records->move_next();
    context.TickProgress();
  }
  records->close();
}

}  // namespace tarvik::exporters
