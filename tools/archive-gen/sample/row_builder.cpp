#include "row_builder.h"

#include <stdexcept>

#include "common/utf8.h"

namespace tarvik::archive_gen::sample {

using archive::ValueKind;
using archive::FieldType;

namespace {

bool fits(FieldType column, ValueKind value) {
  switch (value) {
    case ValueKind::Null: return true;
    case ValueKind::Boolean: return column == FieldType::Boolean;
    case ValueKind::Byte: return column == FieldType::Byte;
    case ValueKind::Integer: return column == FieldType::Integer;
    case ValueKind::Long: return column == FieldType::Long;
    case ValueKind::Single: return column == FieldType::Single;
    case ValueKind::Double: return column == FieldType::Double;
    case ValueKind::Currency: return column == FieldType::Currency;
    case ValueKind::DateTime: return column == FieldType::DateTime;
    case ValueKind::Text: return column == FieldType::Text || column == FieldType::Memo;
    case ValueKind::Binary: return column == FieldType::Ole || column == FieldType::Binary;
    case ValueKind::Guid: return column == FieldType::Guid;
    case ValueKind::Numeric: return column == FieldType::Numeric;
  }
  return false;
}

}  // namespace

RowBuilder::RowBuilder(const SampleSchema& schema, std::string_view table)
    : schema_(&schema), table_(schema.table_index(table)) {
  spec_ = &schema.tables[table_];
  values_.resize(spec_->columns.size());
}

void RowBuilder::clear() {
  // A Yes/No field is never null in Jet: its value is the null-mask bit. New records start false.
  for (std::size_t i = 0; i < values_.size(); ++i) {
    values_[i] = spec_->columns[i].type == FieldType::Boolean ? archive::Value::boolean(false) : archive::Value();
  }
  cursor_ = 0;
}

int RowBuilder::find(std::string_view column) {
  const std::size_t n = spec_->columns.size();
  for (std::size_t step = 0; step < n; ++step) {
    const std::size_t i = (cursor_ + step) % n;
    if (spec_->columns[i].name == column) {
      cursor_ = (i + 1) % n;
      return static_cast<int>(i);
    }
  }
  if (schema_->is_dropped(spec_->name, column)) return -1;
  throw std::logic_error("table " + spec_->name + " has no column " + std::string(column));
}

void RowBuilder::assign(int i, archive::Value value) {
  const ColumnSpec& spec = spec_->columns[static_cast<std::size_t>(i)];
  if (!fits(spec.type, value.kind())) {
    throw std::logic_error("wrong value type for " + spec_->name + "." + spec.name);
  }
  values_[static_cast<std::size_t>(i)] = std::move(value);
}

void RowBuilder::set(std::string_view column, archive::Value value) {
  const int i = find(column);
  if (i >= 0) assign(i, std::move(value));
}

void RowBuilder::set_text(std::string_view column, std::u16string text) {
  const int i = find(column);
  if (i < 0) return;
  const ColumnSpec& spec = spec_->columns[static_cast<std::size_t>(i)];
  if (spec.type == FieldType::Text && text.size() > spec.text_size) {
    std::size_t keep = spec.text_size;
    // A high surrogate left last would be half a character.
    if (keep > 0 && is_high_surrogate(text[keep - 1])) --keep;
    text.resize(keep);
  }
  assign(i, archive::Value::text(std::move(text)));
}

}  // namespace tarvik::archive_gen::sample
