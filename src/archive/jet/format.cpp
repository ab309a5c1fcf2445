#include "archive/jet/format.h"

namespace tarvik::archive::jet {

namespace {

Format make_jet3() {
  Format f;
  f.jet3 = true;
  f.page_size = 2048;
  f.header_mask_length = 126;
  f.data_row_count = 8;
  f.data_row_table = 10;
  f.tdef_row_count = 12;
  f.tdef_table_type = 20;
  f.tdef_max_cols = 21;
  f.tdef_num_var_cols = 23;
  f.tdef_num_cols = 25;
  f.tdef_num_idx = 27;
  f.tdef_num_real_idx = 31;
  f.tdef_owned_map = 35;
  f.tdef_blocks = 43;
  f.real_idx_count_entry = 8;
  f.column_entry = 18;
  f.real_idx_entry = 39;
  f.logical_idx_entry = 20;
  f.col_number = 1;
  f.col_var_index = 3;
  f.col_flags = 13;
  f.col_fixed_offset = 14;
  f.col_length = 16;
  f.col_misc = 9;
  f.real_idx_columns = 0;
  f.real_idx_root_page = 34;
  f.real_idx_flags = 38;
  f.logical_idx_real_number = 4;
  f.logical_idx_type = 19;
  f.index_next_page = 12;
  f.index_tail_page = 16;
  f.index_prefix_length = 20;
  f.index_prefix_length_size = 1;
  f.index_entry_mask = 22;
  f.index_entry_mask_length = 226;
  f.name_length_size = 1;
  return f;
}

Format make_jet4() {
  Format f;
  f.page_size = 4096;
  f.header_mask_length = 128;
  f.data_row_count = 12;
  f.data_row_table = 14;
  f.tdef_row_count = 16;
  f.tdef_table_type = 40;
  f.tdef_max_cols = 41;
  f.tdef_num_var_cols = 43;
  f.tdef_num_cols = 45;
  f.tdef_num_idx = 47;
  f.tdef_num_real_idx = 51;
  f.tdef_owned_map = 55;
  f.tdef_blocks = 63;
  f.real_idx_count_entry = 12;
  f.column_entry = 25;
  f.real_idx_entry = 52;
  f.logical_idx_entry = 28;
  f.col_number = 5;
  f.col_var_index = 7;
  f.col_flags = 15;
  f.col_fixed_offset = 21;
  f.col_length = 23;
  f.col_misc = 11;
  f.real_idx_columns = 4;
  f.real_idx_root_page = 38;
  f.real_idx_flags = 46;
  f.logical_idx_real_number = 8;
  f.logical_idx_type = 23;
  f.index_next_page = 16;
  f.index_tail_page = 20;
  f.index_prefix_length = 24;
  f.index_prefix_length_size = 2;
  f.index_entry_mask = 27;
  f.index_entry_mask_length = 453;
  f.name_length_size = 2;
  return f;
}

}  // namespace

const Format& jet3_format() {
  static const Format f = make_jet3();
  return f;
}

const Format& jet4_format() {
  static const Format f = make_jet4();
  return f;
}

}  // namespace tarvik::archive::jet
