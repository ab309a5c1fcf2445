#include "row_packer.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "data_page.h"
#include "field_encoding.h"
#include "little_endian.h"

namespace tarvik::archive_gen {

using archive::Value;
using archive::FieldType;

RowPacker::RowPacker(const TableLayout& layout, const WriteFormat& format, PhysicalLayout& physical)
    : layout_(layout),
      format_(format),
      physical_(physical),
      by_number_(layout.max_columns, nullptr),
      var_bytes_(layout.var_count),
      present_(layout.max_columns, false),
      dropped_fixed_(layout.max_columns) {
  for (const ColumnLayout& c : layout.columns) by_number_[c.number] = &c;
  for (const ColumnLayout& c : layout.dropped) by_number_[c.number] = &c;
}

// Bytes after the variable data: Jet4's two-byte offsets and count; Jet3's one-byte offsets, its
// jump table (one byte per 256 bytes of row, the last a dummy when the offsets stop short of it)
// and count.
std::size_t RowPacker::tail_length(std::size_t before_tail, std::size_t var_count,
                                   std::size_t mask) const {
  if (layout_.var_count == 0) return 0;
  if (!format_.jet3()) return 2 * (var_count + 1) + 2;
  const std::size_t fixed_part = var_count + 1 + 1;
  std::size_t jumps = 0;
  while ((before_tail + fixed_part + jumps + mask - 1) / 256 > jumps) ++jumps;
  return fixed_part + jumps;
}

void RowPacker::write_jet3_offsets(std::uint8_t* row, std::size_t length, std::size_t mask,
                                   std::size_t var_count) const {
  const std::size_t jumps = (length - 1) / 256;
  const std::size_t last = length - mask - 2 - jumps;  // offset 0's byte; offset i at last - i
  const std::size_t end_of_data = offsets_[var_count];
  const std::size_t needed = end_of_data / 256;
  // Readers move to the next 256 at most once per offset, and drop one dummy jump at most.
  if (jumps > needed + 1 || offsets_[0] >= 256)
    throw std::runtime_error("the row's offsets do not fit Jet3's one-byte table");
  for (std::size_t i = 0; i <= var_count; ++i) {
    row[last - i] = static_cast<std::uint8_t>(offsets_[i] & 0xFF);
    if (i > 0 && offsets_[i] / 256 > offsets_[i - 1] / 256) {
      if (offsets_[i] / 256 != offsets_[i - 1] / 256 + 1)
        throw std::runtime_error("a variable value spans more than 256 bytes of a Jet3 row");
      row[length - mask - 2 - (offsets_[i] / 256 - 1)] = static_cast<std::uint8_t>(i);
    }
  }
  if (jumps > needed) row[length - mask - 2 - needed] = 0xFF;
  row[length - mask - 1] = static_cast<std::uint8_t>(var_count);
}

std::span<const std::uint8_t> RowPacker::pack(std::span<const Value> values,
                                              LongValueWriter* long_values, bool old_row) {
  if (values.size() != layout_.columns.size()) throw std::logic_error("row of a wrong width");
  const std::size_t ncols = old_row ? layout_.first_added : layout_.max_columns;
  const std::size_t count_size = format_.jet3() ? 1 : 2;
  const std::size_t mask = (ncols + 7) / 8;

  // The columns this row carries, their presence and their variable data first: its size decides
  // whether long values may stay in the row.
  std::size_t var_count = 0;
  std::size_t fixed_size = 0;
  std::size_t var_total = 0;
  std::size_t inline_candidates = 0;
  for (std::size_t n = 0; n < ncols; ++n) {
    const ColumnLayout& c = *by_number_[n];
    if (c.fixed()) {
      fixed_size = std::max(fixed_size, c.fixed_offset + fixed_row_bytes(c.type));
    } else {
      var_count = c.var_index + 1u;
      var_bytes_[c.var_index].clear();
    }
    if (c.dropped) {
      std::vector<std::uint8_t>& bytes = c.fixed() ? dropped_fixed_[n] : var_bytes_[c.var_index];
      present_[n] = physical_.dropped_value(!c.fixed(), c.length, bytes);
      if (!c.fixed()) var_total += bytes.size();
      continue;
    }
    const Value& v = values[c.index];
    present_[n] = !v.is_null() && (c.type != FieldType::Boolean || v.as_boolean());
    if (v.is_null() || c.fixed()) continue;
    std::vector<std::uint8_t>& bytes = var_bytes_[c.var_index];
    variable_bytes(c, v, physical_.may_compress_text(), bytes);
    if (c.long_value()) {
      const bool small = bytes.size() <= kMaxInlineLongValue;
      var_total += 12 + (small ? bytes.size() : 0);
      if (small) ++inline_candidates;
    } else {
      var_total += bytes.size();
    }
  }
  const std::size_t before_tail = count_size + fixed_size + var_total;
  std::size_t length = before_tail + tail_length(before_tail, var_count, mask) + mask;
  bool keep_inline = true;
  if (length > format_.max_row_length() && inline_candidates > 0) {
    keep_inline = false;
    for (std::size_t n = 0; n < ncols; ++n) {
      const ColumnLayout& c = *by_number_[n];
      if (!c.dropped && c.long_value() && !values[c.index].is_null() &&
          var_bytes_[c.var_index].size() <= kMaxInlineLongValue)
        var_total -= var_bytes_[c.var_index].size();
    }
    const std::size_t shorter = count_size + fixed_size + var_total;
    length = shorter + tail_length(shorter, var_count, mask) + mask;
  }
  if (length > format_.max_row_length())
    throw std::runtime_error("the row takes " + std::to_string(length) +
                             " bytes, more than a page holds (" +
                             std::to_string(format_.max_row_length()) + ")");

  row_.assign(length, 0);
  std::uint8_t* row = row_.data();
  if (format_.jet3()) row[0] = static_cast<std::uint8_t>(ncols);
  else store_u16(row, static_cast<std::uint16_t>(ncols));
  std::uint8_t* mask_bytes = row + length - mask;
  for (std::size_t n = 0; n < ncols; ++n) {
    const ColumnLayout& c = *by_number_[n];
    if (present_[n]) mask_bytes[n / 8] |= static_cast<std::uint8_t>(1u << (n % 8));
    if (!c.fixed() || c.type == FieldType::Boolean || !present_[n]) continue;
    if (c.dropped) {
      std::copy(dropped_fixed_[n].begin(), dropped_fixed_[n].end(), row + count_size + c.fixed_offset);
    } else {
      store_fixed(c, values[c.index], row + count_size + c.fixed_offset);
    }
  }
  if (layout_.var_count == 0) return row_;

  offsets_.assign(var_count + 1, 0);
  std::size_t at = count_size + fixed_size;
  for (std::size_t n = 0; n < ncols; ++n) {
    const ColumnLayout& c = *by_number_[n];
    if (c.fixed()) continue;
    offsets_[c.var_index] = at;
    const std::vector<std::uint8_t>& bytes = var_bytes_[c.var_index];
    if (!present_[n]) continue;
    if (c.dropped || !c.long_value()) {
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
  offsets_[var_count] = at;
  if (format_.jet3()) {
    write_jet3_offsets(row, length, mask, var_count);
  } else {
    const std::size_t table_end = length - mask;  // var count at table_end - 2
    for (std::size_t k = 0; k <= var_count; ++k)
      store_u16(row + table_end - 4 - 2 * k, static_cast<std::uint16_t>(offsets_[k]));
    store_u16(row + table_end - 2, static_cast<std::uint16_t>(var_count));
  }
  return row_;
}

}  // namespace tarvik::archive_gen
