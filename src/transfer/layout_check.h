// Reads a transfer file the way the importer must: the two header lines, then each block in the
// run plan's order, its name line, its record-count line and, for each record, one line per
// field, or for a raw memo its lines up to the memo end marker. It tells each block's name and
// count, or the first line where the file breaks the layout.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::transfer {

// A block as the importer reads it: its name, and for each field of a record whether it is a
// raw memo (its lines run up to the memo end marker) or one line.
struct BlockLayout {
  std::string_view name;
  std::vector<bool> raw_memo;
};

struct CheckedBlock {
  std::string name;
  std::int64_t records = 0;
};

struct LayoutCheck {
  bool ok = false;
  std::int64_t total = 0;  // header line 1
  bool departments = false;
  std::vector<CheckedBlock> blocks;  // those read completely
  std::size_t bad_line = 0;          // 1-based, when not ok
  std::string problem;               // what was expected there, when not ok
};

// `in` is the file, as written (Windows-1252, CR LF), read front to back in memory that does not
// grow with it.
LayoutCheck check_layout(std::istream& in, const std::vector<BlockLayout>& layouts);
// The same for a file already in memory.
LayoutCheck check_layout(std::string_view bytes, const std::vector<BlockLayout>& layouts);

}  // namespace tarvik::transfer
