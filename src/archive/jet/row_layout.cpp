#include "archive/jet/row_layout.h"

namespace tarvik::archive::jet {

namespace {
void fail(const char* why) { throw errors::damaged(std::string("riga di dati: ") + why); }
}  // namespace

RowLayout::RowLayout(const TableDef& table, const Format& format) : table_(table), format_(format) {
  for (std::uint32_t i = 0; i < table_.columns.size(); ++i) every_column_.push_back(i);
}

bool RowLayout::read_jet4_offsets(const Reader& r, std::size_t mask_size,
                                  std::vector<std::size_t>& offsets) const {
  std::size_t size = r.size();
  if (size < 2 + mask_size + 2) fail("conteggio delle colonne variabili mancante");
  std::size_t count = r.u16(size - mask_size - 2);
  if (size < 2 + mask_size + 2 + 2 * (count + 1)) fail("tabella degli offset oltre la riga");
  offsets.resize(count + 1);
  // Checked above: the whole table lies within the row. Whether the offsets ever go down is found
  // in the same pass.
  const std::uint8_t* first = r.bytes().data() + (size - mask_size - 4);
  std::size_t previous = load_u16(first);
  offsets[0] = previous;
  bool descending = false;
  for (std::size_t i = 1; i <= count; ++i) {
    const std::size_t offset = load_u16(first - 2 * i);
    descending |= offset < previous;
    offsets[i] = previous = offset;
  }
  return descending;
}

void RowLayout::read_jet3_offsets(const Reader& r, std::size_t mask_size,
                                  std::vector<std::size_t>& offsets) const {
  std::size_t size = r.size();
  if (size < 1 + mask_size + 1) fail("conteggio delle colonne variabili mancante");
  std::size_t count = r.u8(size - mask_size - 1);
  std::size_t jumps = (size - 1) / 256;
  if (size < 1 + mask_size + 1 + jumps + count + 1) fail("tabella degli offset oltre la riga");
  std::size_t last_offset = size - mask_size - 2 - jumps;
  // The jump byte nearest the offsets is a dummy when the offsets do not reach that far.
  if ((last_offset - count) / 256 < jumps) --jumps;
  offsets.resize(count + 1);
  std::size_t used = 0;
  for (std::size_t i = 0; i <= count; ++i) {
    while (used < jumps && r.u8(size - mask_size - 2 - used) == i) ++used;
    offsets[i] = r.u8(last_offset - i) + 256 * used;
  }
}

void RowLayout::split(Bytes row, std::vector<Field>& fields, std::span<const std::uint32_t> columns) const {
  Reader r(row, "riga di dati");
  const bool jet3 = format_.jet3;
  const std::size_t count_size = jet3 ? 1 : 2;
  if (row.size() < count_size) fail("riga vuota");
  const std::size_t row_columns = jet3 ? r.u8(0) : r.u16(0);
  // A row is written with the table's column count of its day, which only grows.
  if (row_columns > table_.max_cols) fail("più colonne della sua tabella");
  const std::size_t mask_size = (row_columns + 7) / 8;
  if (row.size() < count_size + mask_size) fail("maschera dei valori nulli oltre la riga");
  const std::size_t mask_start = row.size() - mask_size;

  // Kept from row to row: each row's offsets overwrite the last ones, without clearing.
  thread_local std::vector<std::size_t> offsets;
  std::size_t fixed_end = mask_start;  // end of the fixed area
  if (table_.num_var_cols > 0) {
    bool descending = false;
    if (jet3) {
      read_jet3_offsets(r, mask_size, offsets);
      for (std::size_t i = 0; i + 1 < offsets.size(); ++i) descending |= offsets[i] > offsets[i + 1];
    } else {
      descending = read_jet4_offsets(r, mask_size, offsets);
    }
    std::size_t end_of_data = offsets.back();
    if (end_of_data > mask_start) fail("fine dei dati variabili oltre la riga");
    if (descending) fail("offset delle colonne variabili non crescenti");
    fixed_end = offsets.front();
    if (fixed_end < count_size) fail("offset delle colonne variabili dentro l'intestazione");
  } else {
    offsets.clear();  // no variable column can be present
  }

  fields.resize(table_.columns.size());
  for (const std::uint32_t i : columns) {
    const Column& c = table_.columns[i];
    Field& field = fields[i];
    field.bytes = {};
    field.present = c.number < row_columns && (row[mask_start + c.number / 8] >> (c.number % 8)) & 1;
    if (c.type == FieldType::Boolean || !field.present) continue;
    if (c.is_fixed()) {
      std::size_t start = count_size + c.fixed_offset;
      if (!fits(start, c.length, fixed_end)) {
        field.present = false;  // written before this column existed
        continue;
      }
      field.bytes = row.subspan(start, c.length);
    } else {
      if (std::size_t(c.var_index) + 1 >= offsets.size()) {
        field.present = false;
        continue;
      }
      std::size_t start = offsets[c.var_index], end = offsets[c.var_index + 1];
      field.bytes = row.subspan(start, end - start);
    }
  }
}

}  // namespace tarvik::archive::jet
