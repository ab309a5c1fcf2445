#include "physical_layout.h"

#include <algorithm>

#include "jet_writer.h"
#include "table_check.h"

namespace tarvik::archive_gen {

using archive::FieldType;

namespace {

// How much an aged archive holds of each thing, per thousand.
constexpr std::uint32_t kDeletedRows = 120;
constexpr std::uint32_t kMovedRows = 60;
constexpr std::uint32_t kOldRows = 500;
constexpr std::uint32_t kPartPages = 150;
constexpr std::uint32_t kUncompressedTexts = 300;
constexpr std::uint32_t kLongValuesAlone = 200;
constexpr std::uint32_t kReferenceMaps = 500;
constexpr std::uint32_t kHoleTaken = 350;
constexpr std::uint32_t kHolesLeft = 250;
constexpr std::uint32_t kStalePages = 50;
constexpr std::size_t kMaxStalePages = 16;

}  // namespace

PhysicalLayout::PhysicalLayout(Layout layout, std::uint64_t seed)
    : aged_(layout == Layout::Aged), rng_(seed) {}

bool PhysicalLayout::chance(std::uint32_t per_mille) { return rng_() % 1000 < per_mille; }
std::uint32_t PhysicalLayout::below(std::uint32_t n) { return static_cast<std::uint32_t>(rng_() % n); }

TableHistory PhysicalLayout::table_history(const TableSpec& spec) {
  TableHistory history;
  if (!aged_) return history;
  const std::size_t n = spec.columns.size();
  // Columns added later: the last few, none a boolean (a missing one would read as false, not as
  // its value), a key or an autonumber. Old rows keep as many null-mask bytes as new ones, so
  // that readers that look past an old row's columns still find a zero bit there.
  std::vector<bool> in_key(n, false);
  for (const std::size_t c : primary_key_columns(spec)) in_key[c] = true;
  // A row counts at most 255 columns, dropped ones included.
  const std::size_t dropped_count = std::min<std::size_t>(chance(600) ? 1 + below(2) : 0, 255 - n);
  const std::size_t physical = n + dropped_count;
  const std::size_t room = (physical - 1) % 8;  // added columns that keep the mask's size
  std::size_t added = std::min<std::size_t>(room, 1 + below(3));
  while (added > 0) {
    bool fit = true;
    for (std::size_t c = n - added; c < n; ++c)
      fit = fit && !in_key[c] && !spec.columns[c].autonumber && spec.columns[c].type != FieldType::Boolean;
    if (fit && added < n) break;
    --added;
  }
  history.added = added;
  // mdbtools counts an old row's fixed columns by the row's counts, dropped ones included, and
  // would take one of the added columns for present: beside old rows, dropped columns are texts.
  for (std::size_t k = 0; k < dropped_count; ++k)
    history.dropped.push_back({below(static_cast<std::uint32_t>(n - added + 1)), added > 0 || chance(500)});
  std::sort(history.dropped.begin(), history.dropped.end(),
            [](const TableHistory::Dropped& a, const TableHistory::Dropped& b) { return a.before < b.before; });
  return history;
}

unsigned PhysicalLayout::deleted_rows_before() {
  if (!aged_ || !chance(kDeletedRows)) return 0;
  return 1 + below(2);
}

unsigned PhysicalLayout::deleted_row_kind() { return below(3); }

bool PhysicalLayout::moves_row() { return aged_ && chance(kMovedRows); }

bool PhysicalLayout::writes_old_row() { return aged_ && chance(kOldRows); }

std::size_t PhysicalLayout::page_fill(std::size_t capacity) {
  if (!aged_ || !chance(kPartPages)) return capacity;
  return capacity * (40 + below(50)) / 100;
}

bool PhysicalLayout::may_compress_text() { return !aged_ || !chance(kUncompressedTexts); }

bool PhysicalLayout::dropped_value(bool variable, std::size_t length, std::vector<std::uint8_t>& out) {
  out.clear();
  if (chance(300)) return false;
  const std::size_t size = variable ? below(24) : length;
  for (std::size_t i = 0; i < size; ++i)
    out.push_back(static_cast<std::uint8_t>(variable ? 'a' + below(26) : below(256)));
  return true;
}

bool PhysicalLayout::long_value_alone() { return aged_ && chance(kLongValuesAlone); }

bool PhysicalLayout::reference_map() { return aged_ && chance(kReferenceMaps); }

std::uint32_t PhysicalLayout::take_hole(std::set<std::uint32_t>::iterator at) {
  const std::uint32_t page = *at;
  holes_.erase(at);
  return page;
}

std::uint32_t PhysicalLayout::data_page(PageFile& file, std::uint32_t after) {
  if (!aged_) return file.allocate();
  if (chance(kHoleTaken)) {
    auto at = holes_.upper_bound(after);
    for (std::uint32_t skip = below(4); skip > 0 && at != holes_.end() && std::next(at) != holes_.end(); --skip)
      ++at;
    if (at != holes_.end()) return take_hole(at);
  }
  if (chance(kHolesLeft)) {
    const std::uint32_t count = 1 + below(3);
    const std::uint32_t first = file.allocate(count);
    for (std::uint32_t i = 0; i < count; ++i) holes_.insert(first + i);
  }
  return file.allocate();
}

std::uint32_t PhysicalLayout::any_page(PageFile& file) {
  if (!aged_) return file.allocate();
  if (!holes_.empty() && chance(500)) {
    auto at = holes_.lower_bound(below(file.page_count()));
    if (at == holes_.end()) at = holes_.begin();
    return take_hole(at);
  }
  return data_page(file, file.page_count());
}

std::vector<std::uint32_t> PhysicalLayout::chain_pages(PageFile& file, std::uint32_t count) {
  std::vector<std::uint32_t> pages;
  if (!aged_) {
    const std::uint32_t first = file.allocate(count);
    for (std::uint32_t i = 0; i < count; ++i) pages.push_back(first + i);
    return pages;
  }
  for (std::uint32_t i = 0; i < count; ++i) pages.push_back(any_page(file));
  // A chain grown by edits: its pages seldom follow one another in the file.
  for (std::size_t i = pages.size(); i > 1; --i)
    std::swap(pages[i - 1], pages[below(static_cast<std::uint32_t>(i))]);
  if (count > 1 && std::is_sorted(pages.begin(), pages.end())) std::swap(pages[0], pages[1]);
  return pages;
}

void PhysicalLayout::offer_freed_page(std::span<const std::uint8_t> bytes) {
  if (!aged_ || stale_pages_.size() >= kMaxStalePages) return;
  if (!stale_pages_.empty() && !chance(kStalePages)) return;
  stale_pages_.emplace_back(bytes.begin(), bytes.end());
}

void PhysicalLayout::finish(PageFile& file) {
  if (!aged_) return;
  // An archive that lived has freed pages: at least one still holding a table's old rows (when
  // any table was written) and one left zero.
  while (holes_.size() < 2) holes_.insert(file.allocate());
  std::size_t k = 0;
  for (const std::uint32_t page : holes_) {
    const bool stale = !stale_pages_.empty() && (k == 0 || (k > 1 && chance(500)));
    if (stale) file.write(page, stale_pages_[below(static_cast<std::uint32_t>(stale_pages_.size()))]);
    ++k;
  }
  holes_.clear();
}

}  // namespace tarvik::archive_gen
