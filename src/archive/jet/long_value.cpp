#include "archive/jet/long_value.h"

#include <string>
#include <unordered_set>

#include "archive/jet/data_page.h"

namespace tarvik::archive::jet {

namespace {

constexpr std::size_t kHeaderSize = 12;
constexpr std::uint32_t kLengthMask = 0x3FFFFFFF;
constexpr std::uint8_t kInline = 0x80;
constexpr std::uint8_t kSingleRow = 0x40;
constexpr std::uint8_t kChain = 0x00;

std::string where(std::uint32_t pg_row) {
  return "valore lungo alla pagina " + std::to_string(pg_row >> 8) + ", riga " +
         std::to_string(pg_row & 0xFF);
}

// A row of an LVAL page, with the page kept alive while its bytes are used.
struct LongValueRow {
  Page page;
  Bytes bytes;
};

LongValueRow long_value_row(const PageSource& pages, std::uint32_t pg_row) {
  RowPointer at = RowPointer::from(pg_row);
  Page raw = pages.page(at.page);
  DataPage page(raw, pages.format(), at.page);
  if (page.owner() != kLongValueOwner) throw errors::damaged(where(pg_row) + ": pagina non LVAL");
  RowSlot slot = page.row(at.row);
  if (slot.kind == RowKind::Deleted) throw errors::damaged(where(pg_row) + ": riga cancellata");
  return LongValueRow{raw, slot.bytes};
}

}  // namespace

std::vector<std::uint8_t> read_long_value(const PageSource& pages, Bytes field) {
  LongValueScratch scratch;
  const Bytes bytes = read_long_value(pages, field, scratch);
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

Bytes read_long_value(const PageSource& pages, Bytes field, LongValueScratch& scratch) {
  if (field.size() < kHeaderSize) throw errors::damaged("intestazione di un valore lungo troncata");
  std::uint32_t header = load_u32(field.data());
  std::uint32_t length = header & kLengthMask;
  std::uint8_t kind = field[3] & 0xC0;
  std::uint32_t first = load_u32(field.data() + 4);

  if (kind == kInline) {
    if (length > field.size() - kHeaderSize)
      throw errors::damaged("valore lungo in linea più lungo del suo campo");
    return field.subspan(kHeaderSize, length);
  }
  // Data stored elsewhere can never be longer than the file itself.
  if (std::uint64_t(length) > std::uint64_t(pages.page_count()) * pages.page_size())
    throw errors::damaged("valore lungo più grande del file");

  if (kind == kSingleRow) {
    LongValueRow single = long_value_row(pages, first);
    Bytes row = single.bytes;
    if (row.size() < length) throw errors::damaged(where(first) + ": dati troncati");
    scratch.page = std::move(single.page);
    return row.first(length);
  }
  std::vector<std::uint8_t>& out = scratch.joined;
  out.clear();
  if (kind != kChain) throw errors::damaged("valore lungo di tipo sconosciuto");

  // The stored length is not trusted for the buffer: a damaged one may claim gigabytes. The
  // buffer grows only by what each link of the chain actually holds.
  std::uint32_t next = first;
  std::unordered_set<std::uint32_t> visited;  // a link seen twice is a loop
  while (out.size() < length) {
    if (next == 0 || !visited.insert(next).second)
      throw errors::damaged(where(first) + ": catena interrotta o ciclica");
    LongValueRow link = long_value_row(pages, next);
    Bytes row = link.bytes;
    if (row.size() <= 4) throw errors::damaged(where(next) + ": anello vuoto");
    std::uint32_t following = load_u32(row.data());
    std::size_t take = std::min<std::size_t>(row.size() - 4, length - out.size());
    out.insert(out.end(), row.begin() + 4, row.begin() + 4 + take);
    next = following;
  }
  return Bytes(out.data(), out.size());
}

}  // namespace tarvik::archive::jet
