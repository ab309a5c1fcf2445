#include "column_layout.h"

#include "utf8.h"

namespace tarvik::archive_gen {

using archive::FieldType;

std::size_t fixed_row_bytes(FieldType type) {
  switch (type) {
    case FieldType::Boolean: return 0;
    case FieldType::Byte: return 1;
    case FieldType::Integer: return 2;
    case FieldType::Long:
    case FieldType::Single: return 4;
    case FieldType::Double:
    case FieldType::Currency:
    case FieldType::DateTime: return 8;
    case FieldType::Guid: return 16;
    default: return 0;
  }
}

bool writable_type(FieldType type) {
  switch (type) {
    case FieldType::Boolean:
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
    case FieldType::Single:
    case FieldType::Double:
    case FieldType::Currency:
    case FieldType::DateTime:
    case FieldType::Guid:
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Ole: return true;
    default: return false;
  }
}

namespace {

bool variable_type(FieldType type) {
  return type == FieldType::Text || type == FieldType::Memo || type == FieldType::Ole;
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
      col.type = placed[number].variable ? FieldType::Text : FieldType::Long;
      col.text_size = 20;
    } else {
      col.name = utf8_to_utf16(c->name);
      col.type = c->type;
      col.index = index++;
      col.autonumber = c->autonumber;
      col.text_size = c->type == FieldType::Text ? c->text_size : 0;
    }
    if (placed[number].variable) {
      col.var_index = layout.var_count++;
      if (col.type == FieldType::Text)
        col.length = static_cast<std::uint16_t>(format.jet3() ? col.text_size : 2 * col.text_size);
      if (col.type != FieldType::Ole) {
        if (format.jet3()) col.code_page_text = true;
        else col.extra_flags = ColumnLayout::kCompressedUnicode;
      }
    } else {
      col.var_index = layout.var_count;
      col.flags |= ColumnLayout::kFixed;
      const std::size_t bytes = fixed_row_bytes(col.type);
      col.fixed_offset = bytes == 0 ? 0 : fixed_offset;
      col.length = col.type == FieldType::Boolean ? 1 : static_cast<std::uint16_t>(bytes);
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
