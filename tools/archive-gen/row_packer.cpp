#include "row_packer.h"

#include <algorithm>
#include <stdexcept>

#include "data_page.h"
#include "field_encoding.h"
#include "little_endian.h"

namespace tarvik::archive_gen {

using archive::Value;
using archive::jet::ColumnType;

RowPacker::RowPacker(const TableLayout& layout)
    : layout_(layout), var_columns_(layout.var_count), var_bytes_(layout.var_count) {
  for (const ColumnLayout& c : layout.columns)
    if (!c.fixed()) var_columns_[c.var_index] = &c;
}

std::size_t RowPacker::row_length(std::size_t var_total) const {
  const std::size_t mask = (layout_.columns.size() + 7) / 8;
  const std::size_t offsets = layout_.var_count > 0 ? 2 * (layout_.var_count + 1) + 2 : 0;
  return 2 + layout_.fixed_size + var_total + offsets + mask;
}

std::span<const std::uint8_t> RowPacker::pack(std::span<const Value> values,
                                              LongValueWriter* long_values) {
  const std::size_t ncols = layout_.columns.size();
  if (values.size() != ncols) throw std::logic_error("row of a wrong width");

  // Variable data first: its size decides whether long values may stay in the row.
  std::size_t var_total = 0;
  std::size_t inline_candidates = 0;
  for (std::size_t k = 0; k < layout_.var_count; ++k) {
    const ColumnLayout& c = *var_columns_[k];
    const Value& v = values[c.number];
    if (v.is_null()) {
      var_bytes_[k].clear();
      continue;
    }
    variable_bytes(c, v, var_bytes_[k]);
    if (c.long_value()) {
      const bool small = var_bytes_[k].size() <= kMaxInlineLongValue;
      var_total += 12 + (small ? var_bytes_[k].size() : 0);
      if (small) ++inline_candidates;
    } else {
      var_total += var_bytes_[k].size();
    }
  }
  bool keep_inline = true;
  if (row_length(var_total) > DataPage::kMaxRowLength && inline_candidates > 0) {
    keep_inline = false;
    for (std::size_t k = 0; k < layout_.var_count; ++k)
      if (var_columns_[k]->long_value() && !values[var_columns_[k]->number].is_null() &&
          var_bytes_[k].size() <= kMaxInlineLongValue)
        var_total -= var_bytes_[k].size();
  }
  const std::size_t length = row_length(var_total);
  if (length > DataPage::kMaxRowLength)
    throw std::runtime_error("the row takes " + std::to_string(length) +
                             " bytes, more than a page holds (" +
                             std::to_string(DataPage::kMaxRowLength) + ")");

  row_.assign(length, 0);
  std::uint8_t* row = row_.data();
  const std::size_t mask_size = (ncols + 7) / 8;
  std::uint8_t* mask = row + length - mask_size;
  store_u16(row, static_cast<std::uint16_t>(ncols));
  for (const ColumnLayout& c : layout_.columns) {
    const Value& v = values[c.number];
    if (v.is_null()) continue;
    const bool bit = c.type != ColumnType::Boolean || v.as_boolean();
    if (bit) mask[c.number / 8] |= static_cast<std::uint8_t>(1u << (c.number % 8));
    if (c.fixed() && c.type != ColumnType::Boolean) store_fixed(c, v, row + 2 + c.fixed_offset);
  }
  if (layout_.var_count == 0) return row_;

  std::size_t at = 2 + layout_.fixed_size;
  const std::size_t table_end = length - mask_size;  // var count at table_end - 2
  for (std::size_t k = 0; k < layout_.var_count; ++k) {
    store_u16(row + table_end - 4 - 2 * k, static_cast<std::uint16_t>(at));
    const ColumnLayout& c = *var_columns_[k];
    const std::vector<std::uint8_t>& bytes = var_bytes_[k];
    if (values[c.number].is_null()) continue;
    if (!c.long_value()) {
      std::copy(bytes.begin(), bytes.end(), row + at);
      at += bytes.size();
      continue;
    }
    if (keep_inline && bytes.size() <= kMaxInlineLongValue) {
      const LongValueHeader h = LongValueWriter::inline_header(bytes.size());
      std::copy(h.begin(), h.end(), row + at);
      std::copy(bytes.begin(), bytes.end(), row + at + 12);
      at += 12 + bytes.size();
    } else {
      if (long_values == nullptr) throw std::logic_error("no place for long values");
      const LongValueHeader h = long_values->store(bytes);
      std::copy(h.begin(), h.end(), row + at);
      at += 12;
    }
  }
  store_u16(row + table_end - 4 - 2 * layout_.var_count, static_cast<std::uint16_t>(at));
  store_u16(row + table_end - 2, layout_.var_count);
  return row_;
}

}  // namespace tarvik::archive_gen
