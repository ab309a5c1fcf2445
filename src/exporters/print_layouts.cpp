// The custom print layouts: the items of each document kind's layout, less four entries of the
// program's own, and the area of each kind in which the document rows are printed.
#include <array>
#include <cstdint>
#include <string_view>

#include "exporters/exporters.h"
#include "exporters/table_block.h"

namespace tarvik::exporters {

namespace {

struct LayoutEntry {
  std::u16string_view document_kind;  // TipoDocumento
  std::u16string_view layout_part;    // TestataRighe: "T" header, "R" rows
  std::int32_t order_number;          // NumeroOrdine
};

// Layout entries that are never carried over.
constexpr std::array<LayoutEntry, 4> kExcludedEntries = {{
    {u"B_", u"R", 300},
    {u"B_", u"T", 2100},
    {u"FA", u"R", 150},
    {u"FA", u"T", 5400},
}};

// A numeric value compared by value whatever its width; a null or any other kind never equals.
bool equals_number(const archive::Value& value, std::int32_t number) {
  using archive::ValueKind;
  switch (value.kind()) {
    case ValueKind::Byte: return value.as_byte() == number;
    case ValueKind::Integer: return value.as_integer() == number;
    case ValueKind::Long: return value.as_long() == number;
    case ValueKind::Single: return value.as_single() == static_cast<double>(number);
    case ValueKind::Double: return value.as_double() == static_cast<double>(number);
    case ValueKind::Currency: return value.as_currency().ten_thousandths == std::int64_t{number} * 10000;
    default: return false;
  }
}

// Texts compare whole and with letter case significant.
bool equals_text(const archive::Value& value, std::u16string_view text) {
  return value.kind() == archive::ValueKind::Text && value.as_text() == text;
}

bool is_excluded(archive::Recordset& records) {
  const archive::Value& kind = records.field("TipoDocumento");
  const archive::Value& part = records.field("TestataRighe");
  const archive::Value& order = records.field("NumeroOrdine");
  for (const LayoutEntry& entry : kExcludedEntries)
    if (equals_text(kind, entry.document_kind) && equals_text(part, entry.layout_part) &&
        equals_number(order, entry.order_number))
      return true;
  return false;
}

}  // namespace

const TableBlock kStampaPersonalizzataBlock = {
    "StampaPersonalizzata",
    "SELECT * FROM StampaPersonalizzata ORDER BY TipoDocumento, TestataRighe, NumeroOrdine",
    {
        {"TipoDocumento"},
        {"TestataRighe"},
        {"NumeroOrdine"},
        {"Descrizione"},
        {"X"},
        {"Y"},
        {"X2"},
        {"Y2"},
        {"InUso"},
        {"InUso2"},
        {"InizioFine"},
        {"InizioFine2"},
        {"Lung"},
        {"Lung2"},
        {"Numerico"},
    }};

void ExportStampaPersonalizzata(ExportContext& context) {
  auto records = context.archive().open_snapshot(kStampaPersonalizzataBlock.query);

  // The count line must say how many records follow, so the excluded entries are counted out
  // first, in a pass that writes nothing; the importer reads exactly that many.
  std::int32_t kept = 0;
  if (!records->eof()) {
    for (; !records->eof(); records->move_next())
      if (!is_excluded(*records)) ++kept;
    records->move_first();
  }

  context.BlockStarted(kStampaPersonalizzataBlock.name, *records);
  context.writer().WriteTextLine(kStampaPersonalizzataBlock.name);
  context.writer().WriteNumberLine(kept);
  while (!records->eof()) {
    if (!is_excluded(*records))
      for (const BlockField& field : kStampaPersonalizzataBlock.fields) WriteField(context, *records, field);
    records->move_next();
    context.TickProgress();  // once per record read, excluded ones too
  }
  records->close();
  context.BlockFinished(kStampaPersonalizzataBlock.name, kept, std::nullopt);
}

const TableBlock kStampaPersonalizzata2Block = {
    "StampaPersonalizzata2",
    "SELECT * FROM StampaPersonalizzata2 ORDER BY TipoDocumento",
    {
        {"TipoDocumento"},
        {"InizioRighe"},
        {"InizioRighe2"},
        {"FineRighe"},
        {"FineRighe2"},
    }};

void ExportStampaPersonalizzata2(ExportContext& context) {
  ExportBlock(context, kStampaPersonalizzata2Block);
}

}  // namespace tarvik::exporters
