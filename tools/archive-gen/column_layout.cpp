#include "column_layout.h"

#include "utf8.h"

namespace tarvik::archive_gen {

using archive::jet::ColumnType;

std::size_t fixed_row_bytes(ColumnType type) {
  switch (type) {
    case ColumnType::Boolean: return 0;
    case ColumnType::Byte: return 1;
    case ColumnType::Integer: return 2;
    case ColumnType::Long:
    case ColumnType::Single: return 4;
    case ColumnType::Double:
    case ColumnType::Currency:
    case ColumnType::DateTime: return 8;
    case ColumnType::Guid: return 16;
    default: return 0;
  }
}

bool writable_type(ColumnType type) {
  switch (type) {
    case ColumnType::Boolean:
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::Currency:
    case ColumnType::DateTime:
    case ColumnType::Guid:
    case ColumnType::Text:
    case ColumnType::Memo:
    case ColumnType::Ole: return true;
    default: return false;
  }
}

TableLayout lay_out_table(const TableSpec& spec) {
  TableLayout layout;
  std::uint16_t fixed_offset = 0;
  for (std::size_t i = 0; i < spec.columns.size(); ++i) {
    const ColumnSpec& c = spec.columns[i];
    ColumnLayout col;
    col.name = utf8_to_utf16(c.name);
    col.type = c.type;
    col.number = static_cast<std::uint16_t>(i);
    col.autonumber = c.autonumber;
    const bool variable =
        c.type == ColumnType::Text || c.type == ColumnType::Memo || c.type == ColumnType::Ole;
    col.flags = ColumnLayout::kUpdatable;
    if (variable) {
      col.var_index = layout.var_count++;
      if (c.type == ColumnType::Text) {
        col.text_size = c.text_size;
        col.length = static_cast<std::uint16_t>(2 * c.text_size);
      }
      if (c.type != ColumnType::Ole) col.extra_flags = ColumnLayout::kCompressedUnicode;
    } else {
      col.var_index = layout.var_count;
      col.flags |= ColumnLayout::kFixed;
      const std::size_t bytes = fixed_row_bytes(c.type);
      col.fixed_offset = bytes == 0 ? 0 : fixed_offset;
      col.length = c.type == ColumnType::Boolean ? 1 : static_cast<std::uint16_t>(bytes);
      fixed_offset = static_cast<std::uint16_t>(fixed_offset + bytes);
      if (c.autonumber) col.flags |= ColumnLayout::kAutoLong;
    }
    layout.columns.push_back(std::move(col));
  }
  layout.fixed_size = fixed_offset;
  return layout;
}

}  // namespace tarvik::archive_gen
