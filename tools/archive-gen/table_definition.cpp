#include "table_definition.h"

#include <algorithm>
#include <stdexcept>

#include "little_endian.h"

namespace tarvik::archive_gen {

namespace {

constexpr std::uint32_t kMagicTable = 1625;
constexpr std::uint32_t kMagicRealIndex = 1923;
constexpr std::size_t kHeaderSize = 63;
constexpr std::size_t kRealIndexCountEntry = 12;
constexpr std::size_t kColumnEntry = 25;
constexpr std::size_t kRealIndexEntry = 52;
constexpr std::size_t kLogicalIndexEntry = 28;
constexpr std::size_t kContinuationHeader = 8;
constexpr std::uint8_t kUserTable = 0x4E;
constexpr std::uint8_t kSystemTable = 0x53;
constexpr std::uint8_t kPrimaryKeyType = 1;
constexpr std::size_t kIndexSlots = 10;

void append_name(std::vector<std::uint8_t>& out, const std::u16string& name) {
  const std::size_t at = out.size();
  out.resize(at + 2 + 2 * name.size());
  store_u16(&out[at], static_cast<std::uint16_t>(2 * name.size()));
  for (std::size_t i = 0; i < name.size(); ++i) store_u16(&out[at + 2 + 2 * i], name[i]);
}

std::uint8_t* grow(std::vector<std::uint8_t>& out, std::size_t n) {
  const std::size_t at = out.size();
  out.resize(at + n, 0);
  return &out[at];
}

void append_column(std::vector<std::uint8_t>& out, const ColumnLayout& c) {
  std::uint8_t* p = grow(out, kColumnEntry);
  p[0] = static_cast<std::uint8_t>(c.type);
  store_u32(p + 1, kMagicTable);
  store_u16(p + 5, c.number);
  store_u16(p + 7, c.var_index);
  store_u16(p + 9, c.number);
  // Sort order of the "General" (legacy) collation, LCID 0x0409, on every column as Access does.
  store_u16(p + 11, 0x0409);
  p[15] = c.flags;
  p[16] = c.extra_flags;
  store_u16(p + 21, c.fixed_offset);
  store_u16(p + 23, c.length);
}

void append_real_index(std::vector<std::uint8_t>& out, const IndexDefinition& index) {
  std::uint8_t* p = grow(out, kRealIndexEntry);
  store_u32(p, kMagicRealIndex);
  for (std::size_t slot = 0; slot < kIndexSlots; ++slot) {
    std::uint8_t* s = p + 4 + 3 * slot;
    if (slot < index.column_numbers.size()) {
      store_u16(s, index.column_numbers[slot]);
      s[2] = 1;  // ascending
    } else {
      store_u16(s, 0xFFFF);
    }
  }
  store_u32(p + 34, index.usage_map);
  store_u32(p + 38, index.root_page);
  p[46] = index.flags;
}

void append_logical_index(std::vector<std::uint8_t>& out, const IndexDefinition& index,
                          std::uint32_t number) {
  std::uint8_t* p = grow(out, kLogicalIndexEntry);
  store_u32(p, kMagicTable);
  store_u32(p + 4, number);
  store_u32(p + 8, number);  // backed by the physical index of the same number
  store_u32(p + 13, 0xFFFFFFFF);  // no related index
  // Access writes 4 in the cascade bytes of indexes that are not foreign keys.
  p[21] = 4;
  p[22] = 4;
  p[23] = index.primary_key ? kPrimaryKeyType : 0;
}

}  // namespace

std::vector<std::uint8_t> build_table_definition(const TableDefinition& def) {
  // Room for a definition page from the start (GCC 12 warns, wrongly, on growing a vector whose
  // first size it knows).
  std::vector<std::uint8_t> out;
  out.reserve(4096);
  out.resize(kHeaderSize, 0);
  out[0] = 0x02;
  out[1] = 0x01;
  store_u32(&out[12], kMagicTable);
  store_u32(&out[16], def.row_count);
  store_u32(&out[20], def.last_autonumber);
  out[24] = 1;
  out[40] = def.system ? kSystemTable : kUserTable;
  const auto ncols = static_cast<std::uint16_t>(def.columns.size());
  store_u16(&out[41], ncols);
  store_u16(&out[43], def.var_count);
  store_u16(&out[45], ncols);
  store_u32(&out[47], static_cast<std::uint32_t>(def.indexes.size()));
  store_u32(&out[51], static_cast<std::uint32_t>(def.indexes.size()));
  store_u32(&out[55], def.owned_pages_map);
  store_u32(&out[59], def.free_pages_map);

  grow(out, kRealIndexCountEntry * def.indexes.size());
  for (const ColumnLayout& c : def.columns) append_column(out, c);
  for (const ColumnLayout& c : def.columns) append_name(out, c.name);
  for (const IndexDefinition& index : def.indexes) append_real_index(out, index);
  for (std::size_t i = 0; i < def.indexes.size(); ++i)
    append_logical_index(out, def.indexes[i], static_cast<std::uint32_t>(i));
  for (const IndexDefinition& index : def.indexes) append_name(out, index.name);
  store_u16(grow(out, 2), 0xFFFF);
  store_u32(&out[8], static_cast<std::uint32_t>(out.size()));
  return out;
}

std::uint32_t table_definition_pages(std::size_t logical_length) {
  if (logical_length <= kPageSize) return 1;
  const std::size_t per_continuation = kPageSize - kContinuationHeader;
  return static_cast<std::uint32_t>(
      1 + (logical_length - kPageSize + per_continuation - 1) / per_continuation);
}

void write_table_definition(PageFile& file, std::span<const std::uint32_t> pages,
                            std::span<const std::uint8_t> logical) {
  if (pages.size() != table_definition_pages(logical.size()))
    throw std::logic_error("table definition pages miscounted");
  std::vector<std::uint8_t> page(kPageSize);
  std::size_t consumed = 0;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    std::fill(page.begin(), page.end(), 0);
    const std::size_t start = i == 0 ? 0 : kContinuationHeader;
    const std::size_t n = std::min(kPageSize - start, logical.size() - consumed);
    std::copy_n(logical.begin() + static_cast<std::ptrdiff_t>(consumed), n,
                page.begin() + static_cast<std::ptrdiff_t>(start));
    consumed += n;
    page[0] = 0x02;
    page[1] = 0x01;
    // Free bytes on the page less 8, 0 on a page that continues (as Access writes it).
    const bool last = i + 1 == pages.size();
    const std::size_t used = start + n + 8;
    store_u16(&page[2], last && used < kPageSize ? static_cast<std::uint16_t>(kPageSize - used) : 0);
    store_u32(&page[4], last ? 0 : pages[i + 1]);
    file.write(pages[i], page);
  }
}

}  // namespace tarvik::archive_gen
