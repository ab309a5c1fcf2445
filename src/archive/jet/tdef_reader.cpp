#include "archive/jet/tdef_reader.h"

#include <algorithm>
#include <string>
#include <vector>

#include "archive/jet/bytes.h"
#include "archive/jet/text_codec.h"
#include "common/utf8.h"

namespace tarvik::archive::jet {

namespace {

constexpr std::uint8_t kTableDefinitionPage = 0x02;
constexpr std::uint8_t kSystemTableType = 0x53;
constexpr std::size_t kContinuationHeader = 8;
constexpr std::size_t kMaxDefinitionPages = 64;
constexpr std::uint32_t kMaxIndexes = 1000;  // Access allows 32; anything near this is damage
constexpr std::size_t kIndexSlots = 10;
constexpr std::uint16_t kUnusedSlot = 0xFFFF;
constexpr std::uint8_t kUniqueIndexFlag = 0x01;
constexpr std::uint8_t kIgnoreNullsIndexFlag = 0x02;
constexpr std::uint8_t kPrimaryKeyType = 1;
constexpr std::uint8_t kForeignKeyType = 2;

// The first TDEF page whole, then each continuation page after its 8-byte header.
std::vector<std::uint8_t> join_definition_pages(const PageSource& pages, std::uint32_t first,
                                                const std::string& what) {
  std::vector<std::uint8_t> buffer;
  std::vector<std::uint32_t> seen;
  for (std::uint32_t n = first; n != 0;) {
    if (std::find(seen.begin(), seen.end(), n) != seen.end() || seen.size() >= kMaxDefinitionPages)
      throw errors::damaged(what + ": catena di pagine ciclica o troppo lunga");
    seen.push_back(n);
    Page page = pages.page(n);
    if (page.type() != kTableDefinitionPage)
      throw errors::damaged(what + ": la pagina " + std::to_string(n) + " non è una definizione");
    std::size_t skip = buffer.empty() ? 0 : kContinuationHeader;
    buffer.insert(buffer.end(), page.bytes.begin() + skip, page.bytes.end());
    n = load_u32(page.bytes.data() + 4);
  }
  return buffer;
}

// Checks that `count` entries of `size` bytes fit from `pos` before anything is allocated.
void require_entries(const Reader& r, std::size_t pos, std::uint64_t count, std::size_t size,
                     const std::string& what) {
  if (count > r.size() || !fits(pos, std::size_t(count) * size, r.size()))
    throw errors::damaged(what + ": conteggi oltre la fine della definizione");
}

// A name in the definition: Jet3 a length byte and code-page bytes, Jet4 a length word and UCS-2.
std::string read_name(const Reader& r, std::size_t& pos, const Format& format,
                      std::uint16_t code_page) {
  if (format.jet3) {
    std::size_t length = r.u8(pos);
    Bytes bytes = r.sub(pos + 1, length);
    pos += 1 + length;
    return utf16_to_utf8(decode_code_page(bytes, code_page));
  }
  std::size_t length = r.u16(pos);
  Bytes bytes = r.sub(pos + 2, length);
  pos += 2 + length;
  return utf16_to_utf8(decode_jet4_text(bytes));
}

Column read_column(const Reader& r, std::size_t base, const Format& f) {
  Column c;
  c.type = static_cast<FieldType>(r.u8(base));
  c.number = r.u16(base + f.col_number);
  c.var_index = r.u16(base + f.col_var_index);
  c.flags = r.u8(base + f.col_flags);
  c.fixed_offset = r.u16(base + f.col_fixed_offset);
  c.length = r.u16(base + f.col_length);
  if (f.jet3) {
    c.code_page = r.u16(base + f.col_misc + 2);
  } else if (c.type == FieldType::Numeric) {
    c.precision = r.u8(base + f.col_misc);
    c.scale = r.u8(base + f.col_misc + 1);
  }
  return c;
}

struct RealIndex {
  std::vector<std::pair<std::uint16_t, bool>> slots;  // col_num, ascending
  std::uint8_t flags = 0;
  std::uint32_t root_page = 0;
};

}  // namespace

TableDef read_table_def(const PageSource& pages, std::uint32_t tdef_page, std::string name) {
  const Format& f = pages.format();
  const std::string what = "definizione della tabella '" + name + "'";
  std::vector<std::uint8_t> buffer = join_definition_pages(pages, tdef_page, what);
  Reader r(buffer, "definizione di tabella");

  TableDef def;
  def.name = std::move(name);
  def.tdef_page = tdef_page;
  def.system = r.u8(f.tdef_table_type) == kSystemTableType;
  def.row_count = r.u32(f.tdef_row_count);
  def.max_cols = r.u16(f.tdef_max_cols);
  def.num_var_cols = r.u16(f.tdef_num_var_cols);
  std::uint16_t num_cols = r.u16(f.tdef_num_cols);
  std::uint32_t num_idx = r.u32(f.tdef_num_idx);
  std::uint32_t num_real_idx = r.u32(f.tdef_num_real_idx);
  def.owned_pages_map = r.u32(f.tdef_owned_map);
  if (num_idx > kMaxIndexes || num_real_idx > kMaxIndexes)
    throw errors::damaged(what + ": numero di indici non valido");

  std::size_t pos = f.tdef_blocks;
  require_entries(r, pos, num_real_idx, f.real_idx_count_entry, what);
  pos += num_real_idx * f.real_idx_count_entry;

  require_entries(r, pos, num_cols, f.column_entry, what);
  def.columns.reserve(num_cols);
  for (std::size_t i = 0; i < num_cols; ++i) def.columns.push_back(read_column(r, pos + i * f.column_entry, f));
  pos += num_cols * f.column_entry;
  std::uint16_t code_page = pages.header().code_page;
  for (Column& c : def.columns) c.name = read_name(r, pos, f, code_page);

  require_entries(r, pos, num_real_idx, f.real_idx_entry, what);
  std::vector<RealIndex> real(num_real_idx);
  for (std::size_t k = 0; k < num_real_idx; ++k) {
    std::size_t base = pos + k * f.real_idx_entry;
    for (std::size_t s = 0; s < kIndexSlots; ++s) {
      std::uint16_t col = r.u16(base + f.real_idx_columns + 3 * s);
      if (col != kUnusedSlot) real[k].slots.emplace_back(col, r.u8(base + f.real_idx_columns + 3 * s + 2) != 0);
    }
    real[k].flags = r.u8(base + f.real_idx_flags);
    real[k].root_page = r.u32(base + f.real_idx_root_page);
  }
  pos += num_real_idx * f.real_idx_entry;

  require_entries(r, pos, num_idx, f.logical_idx_entry, what);
  std::vector<std::pair<std::uint32_t, std::uint8_t>> logical(num_idx);  // real number, type
  for (std::size_t k = 0; k < num_idx; ++k) {
    std::size_t base = pos + k * f.logical_idx_entry;
    logical[k] = {r.u32(base + f.logical_idx_real_number), r.u8(base + f.logical_idx_type)};
  }
  pos += num_idx * f.logical_idx_entry;

  std::stable_sort(def.columns.begin(), def.columns.end(),
                   [](const Column& a, const Column& b) { return a.number < b.number; });
  for (std::size_t k = 0; k < num_idx; ++k) {
    Index index;
    index.name = read_name(r, pos, f, code_page);
    auto [real_number, type] = logical[k];
    index.primary_key = type == kPrimaryKeyType;
    index.foreign_key = type == kForeignKeyType;
    if (real_number < real.size()) {
      index.unique = (real[real_number].flags & kUniqueIndexFlag) != 0;
      index.ignore_nulls = (real[real_number].flags & kIgnoreNullsIndexFlag) != 0;
      index.root_page = real[real_number].root_page;
      for (const auto& slot : real[real_number].slots) {
        auto it = std::find_if(def.columns.begin(), def.columns.end(),
                               [&](const Column& c) { return c.number == slot.first; });
        if (it != def.columns.end())
          index.columns.push_back(IndexColumn{std::size_t(it - def.columns.begin()), slot.second});
      }
    }
    def.indexes.push_back(std::move(index));
  }
  return def;
}

}  // namespace tarvik::archive::jet
