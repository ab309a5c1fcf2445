// What differs between the two file formats the writer makes, Jet3 (Access 97: 2 KB pages, texts
// in the archive's code page) and Jet4 (Access 2000-2003: 4 KB pages, UCS-2 texts): the reader's
// own layout constants, and the few sizes only a writer needs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "archive/jet/format.h"

namespace tarvik::archive_gen {

enum class FileFormat { Jet3, Jet4 };

struct WriteFormat {
  const archive::jet::Format& jet;

  bool jet3() const { return jet.jet3; }
  std::size_t page_size() const { return jet.page_size; }
  // Bytes before a data page's row offset table.
  std::size_t data_header() const { return jet.data_row_table; }
  // The longest row an empty data page takes (one offset entry beside it).
  std::size_t max_row_length() const { return jet.page_size - jet.data_row_table - 2; }
  // A long-value row of a chain: the pointer to the next row, then this many bytes at most.
  std::size_t long_value_chunk() const { return max_row_length() - 4; }
  // A usage-map row: its type byte, then a start page and a bitmap, or the bitmap pages' numbers.
  std::size_t usage_map_row_length() const { return jet3() ? 133 : 69; }
  // Where an index page's first entry starts.
  std::size_t index_first_entry() const { return jet3() ? 0xF8 : 0x1E0; }
  // Jet3 ends at 1 GB, Jet4 at 2 GB: the same number of pages.
  static constexpr std::uint32_t kMaxPages = 524288;
  const char* size_limit_text() const { return jet3() ? "the 1 GB Jet3 allows" : "the 2 GB Jet4 allows"; }
};

const WriteFormat& write_format(FileFormat format);

}  // namespace tarvik::archive_gen
