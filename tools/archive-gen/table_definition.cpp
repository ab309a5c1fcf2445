#include "table_definition.h"

#include <algorithm>
#include <stdexcept>

#include "common/windows1252.h"
#include "little_endian.h"

namespace tarvik::archive_gen {

namespace {

constexpr std::uint32_t kJet4Magic = 1625;
constexpr std::uint32_t kJet4RealIndexMagic = 1923;
constexpr std::size_t kContinuationHeader = 8;
constexpr std::uint8_t kUserTable = 0x4E;
constexpr std::uint8_t kSystemTable = 0x53;
constexpr std::uint8_t kPrimaryKeyType = 1;
constexpr std::size_t kIndexSlots = 10;
constexpr std::uint16_t kGeneralSortOrder = 0x0409;
constexpr std::uint16_t kCodePage = 1252;

void append_name(std::vector<std::uint8_t>& out, const WriteFormat& format,
                 const std::u16string& name) {
  const std::size_t at = out.size();
  if (format.jet3()) {
    out.resize(at + 1 + name.size());
    out[at] = static_cast<std::uint8_t>(name.size());
    for (std::size_t i = 0; i < name.size(); ++i)
      out[at + 1 + i] = static_cast<std::uint8_t>(windows1252_byte(name[i]));
    return;
  }
  out.resize(at + 2 + 2 * name.size());
  store_u16(&out[at], static_cast<std::uint16_t>(2 * name.size()));
  for (std::size_t i = 0; i < name.size(); ++i) store_u16(&out[at + 2 + 2 * i], name[i]);
}

std::uint8_t* grow(std::vector<std::uint8_t>& out, std::size_t n) {
  const std::size_t at = out.size();
  out.resize(at + n, 0);
  return &out[at];
}

void append_column(std::vector<std::uint8_t>& out, const WriteFormat& format, const ColumnLayout& c) {
  const archive::jet::Format& f = format.jet;
  std::uint8_t* p = grow(out, f.column_entry);
  p[0] = static_cast<std::uint8_t>(c.type);
  store_u16(p + f.col_number, c.number);
  store_u16(p + f.col_var_index, c.var_index);
  p[f.col_flags] = c.flags;
  store_u16(p + f.col_fixed_offset, c.fixed_offset);
  store_u16(p + f.col_length, c.length);
  if (format.jet3()) {
    store_u16(p + 5, c.number);
    store_u16(p + 7, 1);  // as Access 97 writes it
    // The "General" sort order and the code page, on every column as Access does.
    store_u16(p + f.col_misc, kGeneralSortOrder);
    store_u16(p + f.col_misc + 2, kCodePage);
    return;
  }
  store_u32(p + 1, kJet4Magic);
  store_u16(p + 9, c.number);
  // Sort order of the "General" (legacy) collation, LCID 0x0409, on every column as Access does.
  store_u16(p + f.col_misc, kGeneralSortOrder);
  p[16] = c.extra_flags;
}

void append_real_index(std::vector<std::uint8_t>& out, const WriteFormat& format,
                       const IndexDefinition& index) {
  const archive::jet::Format& f = format.jet;
  std::uint8_t* p = grow(out, f.real_idx_entry);
  if (!format.jet3()) store_u32(p, kJet4RealIndexMagic);
  for (std::size_t slot = 0; slot < kIndexSlots; ++slot) {
    std::uint8_t* s = p + f.real_idx_columns + 3 * slot;
    if (slot < index.column_numbers.size()) {
      store_u16(s, index.column_numbers[slot]);
      s[2] = 1;  // ascending
    } else {
      store_u16(s, 0xFFFF);
    }
  }
  const std::size_t after_slots = f.real_idx_columns + 3 * kIndexSlots;
  store_u32(p + after_slots, index.usage_map);
  store_u32(p + after_slots + 4, index.root_page);
  p[f.real_idx_flags] = index.flags;
}

void append_logical_index(std::vector<std::uint8_t>& out, const WriteFormat& format,
                          const IndexDefinition& index, std::uint32_t number) {
  std::uint8_t* p = grow(out, format.jet.logical_idx_entry);
  if (!format.jet3()) {
    store_u32(p, kJet4Magic);
    p += 4;
  }
  store_u32(p, number);
  store_u32(p + 4, number);  // backed by the physical index of the same number
  store_u32(p + 9, 0xFFFFFFFF);  // no related index
  // Access writes 4 in the cascade bytes of indexes that are not foreign keys.
  p[17] = 4;
  p[18] = 4;
  p[19] = index.primary_key ? kPrimaryKeyType : 0;
}

}  // namespace

std::vector<std::uint8_t> build_table_definition(const WriteFormat& format,
                                                 const TableDefinition& def) {
  const archive::jet::Format& f = format.jet;
  // Room for a definition page from the start (GCC 12 warns, wrongly, on growing a vector whose
  // first size it knows).
  std::vector<std::uint8_t> out;
  out.reserve(format.page_size());
  out.resize(f.tdef_blocks, 0);
  out[0] = 0x02;
  out[1] = 0x01;
  if (format.jet3()) {
    out[2] = 'V';
    out[3] = 'C';
    store_u32(&out[16], def.last_autonumber);
  } else {
    store_u32(&out[12], kJet4Magic);
    store_u32(&out[20], def.last_autonumber);
    out[24] = 1;
  }
  store_u32(&out[f.tdef_row_count], def.row_count);
  out[f.tdef_table_type] = def.system ? kSystemTable : kUserTable;
  const auto ncols = static_cast<std::uint16_t>(def.columns.size());
  store_u16(&out[f.tdef_max_cols], std::max(def.max_columns, ncols));
  store_u16(&out[f.tdef_num_var_cols], def.var_count);
  store_u16(&out[f.tdef_num_cols], ncols);
  store_u32(&out[f.tdef_num_idx], static_cast<std::uint32_t>(def.indexes.size()));
  store_u32(&out[f.tdef_num_real_idx], static_cast<std::uint32_t>(def.indexes.size()));
  store_u32(&out[f.tdef_owned_map], def.owned_pages_map);
  store_u32(&out[f.tdef_owned_map + 4], def.free_pages_map);

  grow(out, f.real_idx_count_entry * def.indexes.size());
  for (const ColumnLayout& c : def.columns) append_column(out, format, c);
  for (const ColumnLayout& c : def.columns) append_name(out, format, c.name);
  for (const IndexDefinition& index : def.indexes) append_real_index(out, format, index);
  for (std::size_t i = 0; i < def.indexes.size(); ++i)
    append_logical_index(out, format, def.indexes[i], static_cast<std::uint32_t>(i));
  for (const IndexDefinition& index : def.indexes) append_name(out, format, index.name);
  store_u16(grow(out, 2), 0xFFFF);
  store_u32(&out[8], static_cast<std::uint32_t>(out.size()));
  return out;
}

std::uint32_t table_definition_pages(const WriteFormat& format, std::size_t logical_length) {
  const std::size_t page_size = format.page_size();
  if (logical_length <= page_size) return 1;
  const std::size_t per_continuation = page_size - kContinuationHeader;
  return static_cast<std::uint32_t>(
      1 + (logical_length - page_size + per_continuation - 1) / per_continuation);
}

void write_table_definition(PageFile& file, std::span<const std::uint32_t> pages,
                            std::span<const std::uint8_t> logical) {
  const WriteFormat& format = file.format();
  const std::size_t page_size = format.page_size();
  if (pages.size() != table_definition_pages(format, logical.size()))
    throw std::logic_error("table definition pages miscounted");
  std::vector<std::uint8_t> page(page_size);
  std::size_t consumed = 0;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    std::fill(page.begin(), page.end(), 0);
    const std::size_t start = i == 0 ? 0 : kContinuationHeader;
    const std::size_t n = std::min(page_size - start, logical.size() - consumed);
    std::copy_n(logical.begin() + static_cast<std::ptrdiff_t>(consumed), n,
                page.begin() + static_cast<std::ptrdiff_t>(start));
    consumed += n;
    page[0] = 0x02;
    page[1] = 0x01;
    const bool last = i + 1 == pages.size();
    if (format.jet3()) {
      page[2] = 'V';
      page[3] = 'C';
    } else {
      // Free bytes on the page less 8, 0 on a page that continues (as Access writes it).
      const std::size_t used = start + n + 8;
      store_u16(&page[2], last && used < page_size ? static_cast<std::uint16_t>(page_size - used) : 0);
    }
    store_u32(&page[4], last ? 0 : pages[i + 1]);
    file.write(pages[i], page);
  }
}

}  // namespace tarvik::archive_gen
