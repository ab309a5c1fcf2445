// The full scan of a table, page by page in usage-map order and row by row within a page.
#include <algorithm>
#include <optional>
#include <string>

#include "archive/jet/data_page.h"
#include "archive/jet/jet_file.h"
#include "archive/jet/row_layout.h"
#include "archive/jet/usage_map.h"
#include "archive/jet/value_decoder.h"

namespace tarvik::archive::jet {

struct TableScan::State {
  State(const PageSource& pages, const TableDef& def)
      : pages(pages), table(def), layout(table, pages.format()), decoder(pages),
        page_list(read_usage_map(pages, table.owned_pages_map)) {
    choose_columns({});  // every column until told otherwise
  }

  // The table's next data page, skipping data pages the map lists but another table now owns. A
  // listed page that is no data page at all is damage (garbage or zeros where rows were), never
  // skipped: the table would silently lose that page's rows.
  bool load_next_page() {
    while (next_page < page_list.size()) {
      const std::uint32_t number = page_list[next_page];
      Page page = pages.page(number, pages_ahead_in_block(next_page));
      ++next_page;
      if (page.type() != kDataPageType)
        throw errors::damaged("tabella '" + table.name + "': la pagina " + std::to_string(number) +
                              " della sua mappa non è una pagina di dati");
      if (load_u32(page.bytes.data() + 4) != table.tdef_page) continue;
      current.emplace(std::move(page), pages.format(), number);
      next_row = 0;
      return true;
    }
    return false;
  }

  // The pages of page_list[from]'s block that the list holds from there on: read together with
  // it, and nothing else of the block (other tables' pages, long values).
  std::uint32_t pages_ahead_in_block(std::size_t from) const {
    const std::uint32_t block = page_list[from] / PageCache::kPagesPerBlock;
    std::uint32_t wanted = 0;
    for (std::size_t i = from; i < page_list.size() && page_list[i] / PageCache::kPagesPerBlock == block; ++i)
      wanted |= 1u << (page_list[i] % PageCache::kPagesPerBlock);
    return wanted;
  }

  // Every page of the table in the block of page n, for a row read by position.
  std::uint32_t table_pages_in_block(std::uint32_t n) {
    const std::uint32_t block = n / PageCache::kPagesPerBlock;
    if (block_pages.empty()) {
      for (const std::uint32_t page : page_list)
        block_pages.emplace_back(page / PageCache::kPagesPerBlock, 1u << (page % PageCache::kPagesPerBlock));
      std::sort(block_pages.begin(), block_pages.end());
      std::size_t kept = 0;  // one entry per block, its pages' bits joined
      for (const auto& [b, bits] : block_pages) {
        if (kept > 0 && block_pages[kept - 1].first == b) block_pages[kept - 1].second |= bits;
        else block_pages[kept++] = {b, bits};
      }
      block_pages.resize(kept);
    }
    const auto at = std::lower_bound(block_pages.begin(), block_pages.end(),
                                     std::pair<std::uint32_t, std::uint32_t>(block, 0));
    return at != block_pages.end() && at->first == block ? at->second : 0;
  }

  // A moved row is read where its pointer stands, so the table keeps its original order.
  RowSlot follow_pointer(const RowSlot& pointer, std::optional<DataPage>& holder) {
    if (pointer.bytes.size() < 4) throw errors::damaged("puntatore di riga spostata troncato");
    RowPointer target = RowPointer::from(load_u32(pointer.bytes.data()));
    holder.emplace(pages.page(target.page), pages.format(), target.page);
    if (holder->owner() != table.tdef_page)
      throw errors::damaged("riga spostata in una pagina di un'altra tabella");
    RowSlot moved = holder->row(target.row);
    if (moved.kind != RowKind::MovedCopy)
      throw errors::damaged("puntatore di riga spostata verso una riga non spostata");
    return moved;
  }

  // Only the wanted columns are cut out and decoded; the others read as null. Values go into the
  // row's existing storage, so a reused row decodes without allocating.
  void decode(const RowSlot& slot, std::vector<Value>& row) {
    layout.split(slot.bytes, fields, read_columns);
    row.resize(table.columns.size());
    for (const std::uint32_t i : read_columns) decoder.decode_into(table.columns[i], fields[i], row[i]);
    for (const std::uint32_t i : skipped_columns) {
      if (!row[i].is_null()) row[i] = Value();
    }
  }

  // The columns to decode, and the others, from one flag per column.
  void choose_columns(const std::vector<bool>& wanted) {
    read_columns.clear();
    skipped_columns.clear();
    for (std::uint32_t i = 0; i < table.columns.size(); ++i) {
      (i >= wanted.size() || wanted[i] ? read_columns : skipped_columns).push_back(i);
    }
    fields.resize(table.columns.size());
  }

  const PageSource& pages;
  const TableDef table;
  RowLayout layout;
  ValueDecoder decoder;
  std::vector<std::uint32_t> page_list;
  std::size_t next_page = 0;
  std::optional<DataPage> current;
  std::optional<DataPage> read_page;  // the page of the row last read by pointer
  std::uint16_t next_row = 0;
  std::uint32_t last_row_pointer = 0;
  std::vector<Field> fields;
  std::vector<std::uint32_t> read_columns, skipped_columns;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> block_pages;  // (block, the table's pages in it)
};

TableScan::TableScan(const JetFile& file, const TableDef& table)
    : state_(std::make_unique<State>(file.pages(), table)) {}
TableScan::~TableScan() = default;
TableScan::TableScan(TableScan&&) noexcept = default;

void TableScan::select_columns(std::vector<bool> wanted) {
  wanted.resize(state_->table.columns.size(), false);
  state_->choose_columns(wanted);
}

bool TableScan::next(std::vector<Value>& row) {
  State& s = *state_;
  for (;;) {
    if (!s.current || s.next_row >= s.current->row_count()) {
      s.current.reset();
      if (!s.load_next_page()) return false;
      continue;
    }
    RowSlot slot = s.current->row(s.next_row++);
    std::optional<DataPage> moved_page;
    if (slot.kind == RowKind::Deleted || slot.kind == RowKind::MovedCopy) continue;
    if (slot.kind == RowKind::Pointer) slot = s.follow_pointer(slot, moved_page);

    s.last_row_pointer = (s.current->page_number() << 8) | std::uint32_t(s.next_row - 1);
    s.decode(slot, row);
    return true;
  }
}

std::int64_t TableScan::count_rest() {
  State& s = *state_;
  std::int64_t n = 0;
  for (;;) {
    if (!s.current || s.next_row >= s.current->row_count()) {
      s.current.reset();
      if (!s.load_next_page()) return n;
      continue;
    }
    RowSlot slot = s.current->row(s.next_row++);
    if (slot.kind == RowKind::Deleted || slot.kind == RowKind::MovedCopy) continue;
    if (slot.kind == RowKind::Pointer) {
      std::optional<DataPage> moved_page;
      s.follow_pointer(slot, moved_page);  // a broken pointer is damage, as for next()
    }
    ++n;
  }
}

}  // namespace tarvik::archive::jet

namespace tarvik::archive::jet {

std::uint32_t TableScan::row_pointer() const { return state_->last_row_pointer; }

void TableScan::read_at(std::uint32_t row_pointer, std::vector<Value>& row) {
  State& s = *state_;
  RowPointer at = RowPointer::from(row_pointer);
  // Rows read again by pointer mostly come in the order of a scan, many from the same page.
  if (!s.read_page || s.read_page->page_number() != at.page) {
    s.read_page.reset();
    DataPage page(s.pages.page(at.page, s.table_pages_in_block(at.page)), s.pages.format(), at.page);
    if (page.owner() != s.table.tdef_page)
      throw errors::damaged("riga cercata in una pagina di un'altra tabella");
    s.read_page.emplace(std::move(page));
  }
  RowSlot slot = s.read_page->row(at.row);
  std::optional<DataPage> moved_page;
  if (slot.kind == RowKind::Pointer) slot = s.follow_pointer(slot, moved_page);
  else if (slot.kind != RowKind::Live) throw errors::damaged("riga cercata cancellata");
  s.decode(slot, row);
}

}  // namespace tarvik::archive::jet
