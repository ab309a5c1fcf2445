// Where the writer puts what the description holds. A fresh archive is laid out as a new one is:
// every row in its first place, pages in order, nothing deleted. An aged archive holds the same
// rows in the same scan order, with what years of edits leave around them: deleted rows (some of
// them copies of live ones) between live ones, rows moved to another page behind a pointer, pages
// left part empty, the pages of every table, long value and freed page interleaved across the
// file, long-value chains whose pages lie out of order, texts stored compressed or not, reference
// usage maps, columns dropped (their bytes still in the rows) and columns added after old rows were
// written (rows with fewer columns). Every choice is drawn from the layout seed, so the same seed
// gives the same bytes.
#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <span>
#include <vector>

#include "page_file.h"

namespace tarvik::archive_gen {

enum class Layout { Fresh, Aged };

struct ColumnSpec;
struct TableSpec;

// A table's past, for its layout: the columns dropped since its rows began (each stands before the
// description's column of the same position) and how many of its last columns came later.
struct TableHistory {
  struct Dropped {
    std::size_t before = 0;  // description index it stood before
    bool variable = false;   // a text column, else a long one
  };
  std::vector<Dropped> dropped;
  std::size_t added = 0;
};

class PhysicalLayout {
 public:
  PhysicalLayout(Layout layout, std::uint64_t seed);

  bool aged() const { return aged_; }

  TableHistory table_history(const TableSpec& spec);

  // Rows.
  // Deleted rows to leave before the next live row.
  unsigned deleted_rows_before();
  // What a deleted row holds: 0 the next live row's bytes, 1 the previous live row's, 2 nothing.
  unsigned deleted_row_kind();
  // Whether the next live row was moved to another page.
  bool moves_row();
  // Whether a row whose added columns are all null is written as before they were added.
  bool writes_old_row();
  // Bytes of a data page's free space that rows may take before the next page opens.
  std::size_t page_fill(std::size_t capacity);
  // Whether a Jet4 text may be stored compressed (Jet compresses when it saves room).
  bool may_compress_text();
  // The stored bytes of a dropped column in a row (empty and false for a null).
  bool dropped_value(bool variable, std::size_t length, std::vector<std::uint8_t>& out);

  // Long values.
  // Whether a long value of one row takes a page of its own.
  bool long_value_alone();
  // Whether a table's page list is kept as a reference map even where an inline one would do.
  bool reference_map();

  // Pages. A table's data pages must ascend, so that its rows keep their scan order.
  std::uint32_t data_page(PageFile& file, std::uint32_t after);
  std::uint32_t any_page(PageFile& file);
  // Pages for a chain of long-value rows, in chain order: not the file's order when aged.
  std::vector<std::uint32_t> chain_pages(PageFile& file, std::uint32_t count);
  // A page a table wrote, kept now and then as the stale copy a freed page holds.
  void offer_freed_page(std::span<const std::uint8_t> bytes);
  // Writes the freed pages left (two at least): some hold stale copies, the others stay zero.
  void finish(PageFile& file);

 private:
  bool chance(std::uint32_t per_mille);
  std::uint32_t below(std::uint32_t n);
  std::uint32_t take_hole(std::set<std::uint32_t>::iterator at);

  bool aged_;
  std::mt19937_64 rng_;
  std::set<std::uint32_t> holes_;  // pages allocated and not yet given
  std::vector<std::vector<std::uint8_t>> stale_pages_;
};

}  // namespace tarvik::archive_gen
