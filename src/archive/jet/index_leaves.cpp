#include "archive/jet/index_leaves.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "archive/jet/bytes.h"

namespace tarvik::archive::jet {

namespace {

constexpr std::uint8_t kIntermediatePage = 0x03;
constexpr std::uint8_t kLeafPage = 0x04;
constexpr std::size_t kOwnerOffset = 4;
// A leaf entry ends with its row's pointer: a 3-byte page, big-endian, then the row byte. An
// intermediate entry adds its child page, 4 bytes big-endian.
constexpr std::size_t kRowPointerSize = 4;
constexpr std::size_t kChildPageSize = 4;
// Even 2 KB pages of the longest keys hold a few entries each, so Jet's largest file (2 GiB) stays
// far below this many levels; a deeper descent is a loop among intermediate pages.
constexpr int kMaxDepth = 32;

std::uint32_t load_u24_be(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | std::uint32_t(p[2]);
}
std::uint32_t load_u32_be(const std::uint8_t* p) { return (std::uint32_t(p[0]) << 24) | load_u24_be(p + 1); }

// Page n of the index, checked to be an index page of the index's own table.
Page index_page(const PageSource& pages, std::uint32_t n, std::uint32_t owner, const std::string& what) {
  if (!pages.valid_page(n)) throw errors::damaged(what + ": pagina " + std::to_string(n) + " fuori dal file");
  Page page = pages.page(n);
  if (page.type() != kIntermediatePage && page.type() != kLeafPage)
    throw errors::damaged(what + ": la pagina " + std::to_string(n) + " non è una pagina d'indice");
  if (load_u32(page.bytes.data() + kOwnerOffset) != owner)
    throw errors::damaged(what + ": la pagina " + std::to_string(n) + " è di un'altra tabella");
  return page;
}

// The entries of an index page, whole, in page order. A set bit k of the entry-start mask ends an
// entry k bytes after the first entry's place. The first entry is stored whole; each other is
// stored without the first bytes it shares with the first, as many as the page's prefix length.
std::vector<std::vector<std::uint8_t>> page_entries(const Page& page, const Format& f,
                                                    const std::string& what) {
  const Reader header(page.bytes, "pagina d'indice");
  const std::size_t prefix_length = f.index_prefix_length_size == 1 ? header.u8(f.index_prefix_length)
                                                                    : header.u16(f.index_prefix_length);
  const Bytes mask = header.sub(f.index_entry_mask, f.index_entry_mask_length);
  const std::size_t first = f.index_first_entry();
  std::vector<std::vector<std::uint8_t>> entries;
  std::size_t start = 0;
  for (std::size_t end = 1; end < mask.size() * 8; ++end) {
    if ((mask[end / 8] & (1u << (end % 8))) == 0) continue;
    if (!fits(first + start, end - start, page.bytes.size()))
      throw errors::damaged(what + ": voce oltre la fine della pagina");
    const Bytes stored = page.bytes.subspan(first + start, end - start);
    std::vector<std::uint8_t> whole;
    if (entries.empty()) {
      if (stored.size() < prefix_length) throw errors::damaged(what + ": prefisso comune troppo lungo");
      whole.assign(stored.begin(), stored.end());
    } else {
      whole.reserve(prefix_length + stored.size());
      whole.assign(entries.front().begin(), entries.front().begin() + std::ptrdiff_t(prefix_length));
      whole.insert(whole.end(), stored.begin(), stored.end());
    }
    entries.push_back(std::move(whole));
    start = end;
  }
  return entries;
}

// The first leaf: down along each intermediate page's first child, or its tail page when it lists
// none.
std::uint32_t first_leaf(const PageSource& pages, const TableDef& table, const Index& index,
                         const std::string& what) {
  const Format& f = pages.format();
  std::uint32_t n = index.root_page;
  for (int depth = 0; depth < kMaxDepth; ++depth) {
    const Page page = index_page(pages, n, table.tdef_page, what);
    if (page.type() == kLeafPage) return n;
    const auto entries = page_entries(page, f, what);
    if (entries.empty()) {
      n = load_u32(page.bytes.data() + f.index_tail_page);
      continue;
    }
    const std::vector<std::uint8_t>& e = entries.front();
    if (e.size() < kRowPointerSize + kChildPageSize) throw errors::damaged(what + ": voce intermedia troncata");
    n = load_u32_be(e.data() + e.size() - kChildPageSize);
  }
  throw errors::damaged(what + ": troppi livelli di pagine intermedie");
}

bool before(const IndexEntry& a, const IndexEntry& b) {
  if (a.key != b.key) return std::lexicographical_compare(a.key.begin(), a.key.end(), b.key.begin(), b.key.end());
  return a.row_pointer < b.row_pointer;
}

}  // namespace

std::vector<IndexEntry> read_index_entries(const PageSource& pages, const TableDef& table,
                                           const Index& index) {
  const Format& f = pages.format();
  const std::string what = "indice '" + index.name + "' della tabella '" + table.name + "'";
  std::vector<IndexEntry> out;
  std::unordered_set<std::uint32_t> seen;
  for (std::uint32_t n = first_leaf(pages, table, index, what); n != 0;) {
    if (!seen.insert(n).second) throw errors::damaged(what + ": catena di foglie ciclica");
    const Page page = index_page(pages, n, table.tdef_page, what);
    if (page.type() != kLeafPage)
      throw errors::damaged(what + ": la pagina " + std::to_string(n) + " non è una foglia");
    for (std::vector<std::uint8_t>& whole : page_entries(page, f, what)) {
      if (whole.size() <= kRowPointerSize) throw errors::damaged(what + ": voce troncata");
      IndexEntry entry;
      const std::uint8_t* pointer = whole.data() + whole.size() - kRowPointerSize;
      entry.row_pointer = (load_u24_be(pointer) << 8) | pointer[3];
      whole.resize(whole.size() - kRowPointerSize);
      entry.key = std::move(whole);
      // Jet keeps entries strictly ordered by key, then row: anything else is a misread page.
      if (!out.empty() && !before(out.back(), entry))
        throw errors::damaged(what + ": voci fuori ordine alla pagina " + std::to_string(n));
      out.push_back(std::move(entry));
    }
    n = load_u32(page.bytes.data() + f.index_next_page);
  }
  return out;
}

}  // namespace tarvik::archive::jet
