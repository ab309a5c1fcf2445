// The layout constants of each Jet version, chosen once from the header's version byte. Offsets
// that differ between Jet3 and Jet4 are data here, not conditions scattered through the reader.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvik::archive::jet {

struct Format {
  bool jet3 = false;
  std::size_t page_size = 0;
  std::size_t header_mask_length = 0;  // bytes of page 0 XOR-masked from 0x18

  // Data pages.
  std::size_t data_row_count = 0;    // u16 row count
  std::size_t data_row_table = 0;    // first u16 of the row offset table

  // Table definition header.
  std::size_t tdef_row_count = 0;
  std::size_t tdef_table_type = 0;
  std::size_t tdef_max_cols = 0;
  std::size_t tdef_num_var_cols = 0;
  std::size_t tdef_num_cols = 0;
  std::size_t tdef_num_idx = 0;
  std::size_t tdef_num_real_idx = 0;
  std::size_t tdef_owned_map = 0;
  std::size_t tdef_blocks = 0;  // first byte after the header

  // Entry sizes of the blocks that follow the header.
  std::size_t real_idx_count_entry = 0;
  std::size_t column_entry = 0;
  std::size_t real_idx_entry = 0;
  std::size_t logical_idx_entry = 0;

  // Column descriptor fields.
  std::size_t col_number = 0;
  std::size_t col_var_index = 0;
  std::size_t col_flags = 0;
  std::size_t col_fixed_offset = 0;
  std::size_t col_length = 0;
  std::size_t col_misc = 0;  // Jet4: precision, scale; Jet3: sort order then code page

  // Real index definition fields.
  std::size_t real_idx_columns = 0;  // ten (col_num u16, order u8) slots
  std::size_t real_idx_root_page = 0;
  std::size_t real_idx_flags = 0;
  // Logical index definition fields.
  std::size_t logical_idx_real_number = 0;
  std::size_t logical_idx_type = 0;

  // Index pages (intermediate and leaf): the header's links, the length of the prefix the page's
  // entries share, the bitmask marking where each entry ends, and the first entry's place.
  std::size_t index_next_page = 0;
  std::size_t index_tail_page = 0;
  std::size_t index_prefix_length = 0;
  std::size_t index_prefix_length_size = 0;  // Jet3 one byte (the next tells the level), Jet4 two
  std::size_t index_entry_mask = 0;
  std::size_t index_entry_mask_length = 0;
  std::size_t index_first_entry() const { return index_entry_mask + index_entry_mask_length; }

  std::size_t name_length_size = 0;  // 1 (Jet3, bytes) or 2 (Jet4, UCS-2 bytes)
  std::size_t usage_map_page_bits() const { return (page_size - 4) * 8; }
};

const Format& jet3_format();
const Format& jet4_format();

}  // namespace tarvik::archive::jet
