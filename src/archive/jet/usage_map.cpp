#include "archive/jet/usage_map.h"

#include <string>

#include "archive/jet/data_page.h"

namespace tarvik::archive::jet {

namespace {

constexpr std::uint8_t kInlineMap = 0;
constexpr std::uint8_t kReferenceMap = 1;
constexpr std::uint8_t kBitmapPageType = 0x05;
constexpr std::size_t kBitmapPageHeader = 4;

// Adds the pages whose bits are set, page = first + bit index.
void add_bitmap(const PageSource& pages, Bytes bitmap, std::uint64_t first,
                std::vector<std::uint32_t>& out) {
  for (std::size_t i = 0; i < bitmap.size(); ++i) {
    std::uint8_t byte = bitmap[i];
    if (byte == 0) continue;
    for (int bit = 0; bit < 8; ++bit) {
      if (!(byte & (1u << bit))) continue;
      std::uint64_t page = first + i * 8 + std::uint64_t(bit);
      if (page >= pages.page_count())
        throw errors::damaged("mappa delle pagine: pagina " + std::to_string(page) +
                              " oltre la fine del file");
      out.push_back(static_cast<std::uint32_t>(page));
    }
  }
}

}  // namespace

std::vector<std::uint32_t> read_usage_map(const PageSource& pages, std::uint32_t pg_row) {
  RowPointer where = RowPointer::from(pg_row);
  DataPage page(pages.page(where.page), pages.format(), where.page);
  RowSlot slot = page.row(where.row);
  if (slot.kind == RowKind::Deleted || slot.bytes.empty())
    throw errors::damaged("mappa delle pagine alla pagina " + std::to_string(where.page) +
                          " mancante");
  Reader row(slot.bytes, "mappa delle pagine");
  std::vector<std::uint32_t> out;
  std::uint8_t type = row.u8(0);
  if (type == kInlineMap) {
    std::uint32_t start = row.u32(1);
    add_bitmap(pages, row.sub(5, row.size() - 5), start, out);
  } else if (type == kReferenceMap) {
    std::uint64_t pages_per_map = pages.format().usage_map_page_bits();
    std::size_t count = (row.size() - 1) / 4;
    for (std::size_t k = 0; k < count; ++k) {
      std::uint32_t map_page = row.u32(1 + 4 * k);
      if (map_page == 0) continue;
      Page bitmap_page = pages.page(map_page);
      if (bitmap_page.type() != kBitmapPageType)
        throw errors::damaged("mappa delle pagine: pagina " + std::to_string(map_page) +
                              " non è una mappa");
      add_bitmap(pages, bitmap_page.bytes.subspan(kBitmapPageHeader), k * pages_per_map, out);
    }
  } else {
    throw errors::damaged("mappa delle pagine di tipo " + std::to_string(type) + " sconosciuto");
  }
  return out;  // both kinds produce pages in ascending order, each once
}

}  // namespace tarvik::archive::jet

