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

namespace {

bool variable_type(ColumnType type) {
  return type == ColumnType::Text || type == ColumnType::Memo || type == ColumnType::Ole;
}

}  // namespace

TableLayout lay_out_table(const TableSpec& spec, const WriteFormat& format,
                          const TableHistory& history) {
  // The columns by number: the description's, with the dropped ones where they stood.
  struct Placed {
    const ColumnSpec* spec;  // null for a dropped column
    bool variable;
  };
  std::vector<Placed> placed;
  std::size_t next_dropped = 0;
  for (std::size_t i = 0; i <= spec.columns.size(); ++i) {
    while (next_dropped < history.dropped.size() && history.dropped[next_dropped].before == i)
      placed.push_back({nullptr, history.dropped[next_dropped++].variable});
    if (i < spec.columns.size())
      placed.push_back({&spec.columns[i], variable_type(spec.columns[i].type)});
  }

  TableLayout layout;
  std::uint16_t fixed_offset = 0;
  std::uint16_t index = 0;
  for (std::size_t number = 0; number < placed.size(); ++number) {
    ColumnLayout col;
    col.number = static_cast<std::uint16_t>(number);
    col.flags = ColumnLayout::kUpdatable;
    const ColumnSpec* c = placed[number].spec;
    if (c == nullptr) {
      // A long or a short text, as an old version of the table had it.
      col.dropped = true;
      col.name = u"Dropped";
      col.type = placed[number].variable ? ColumnType::Text : ColumnType::Long;
      col.text_size = 20;
    } else {
      col.name = utf8_to_utf16(c->name);
      col.type = c->type;
      col.index = index++;
      col.autonumber = c->autonumber;
      col.text_size = c->type == ColumnType::Text ? c->text_size : 0;
    }
    if (placed[number].variable) {
      col.var_index = layout.var_count++;
      if (col.type == ColumnType::Text)
        col.length = static_cast<std::uint16_t>(format.jet3() ? col.text_size : 2 * col.text_size);
      if (col.type != ColumnType::Ole) {
        if (format.jet3()) col.code_page_text = true;
        else col.extra_flags = ColumnLayout::kCompressedUnicode;
      }
    } else {
      col.var_index = layout.var_count;
      col.flags |= ColumnLayout::kFixed;
      const std::size_t bytes = fixed_row_bytes(col.type);
      col.fixed_offset = bytes == 0 ? 0 : fixed_offset;
      col.length = col.type == ColumnType::Boolean ? 1 : static_cast<std::uint16_t>(bytes);
      fixed_offset = static_cast<std::uint16_t>(fixed_offset + bytes);
      if (col.autonumber) col.flags |= ColumnLayout::kAutoLong;
    }
    (col.dropped ? layout.dropped : layout.columns).push_back(std::move(col));
  }
  layout.fixed_size = fixed_offset;
  layout.max_columns = static_cast<std::uint16_t>(placed.size());
  layout.first_added = static_cast<std::uint16_t>(placed.size() - history.added);
  return layout;
}

}  // namespace tarvik::archive_gen
