// Fuzzes the whole reader: a file's bytes are opened, every table's definition read, every row
// scanned and every index's leaves read. Any outcome but a value or an ArchiveError (a crash, a sanitizer report, a hang) is a bug.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/archive_error.h"
#include "archive/jet/index_leaves.h"
#include "archive/jet/jet_file.h"

using tarvik::archive::ArchiveError;
using tarvik::archive::Value;
using tarvik::archive::jet::JetFile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<JetFile> file;
  try {
    file = JetFile::from_memory(std::vector<std::uint8_t>(data, data + size), "fuzz.mdb");
  } catch (const ArchiveError&) {
    return 0;
  }
  for (const auto& entry : file->catalog()) {
    if (!entry.is_table()) continue;
    try {
      auto table = file->table_at(entry.tdef_page(), entry.name);
      auto scan = file->scan(table);
      std::vector<Value> row;
      while (scan.next(row)) {
      }
      for (const auto& index : table.indexes) {
        try {
          tarvik::archive::jet::read_index_entries(file->pages(), table, index);
        } catch (const ArchiveError&) {
        }
      }
    } catch (const ArchiveError&) {
    }
  }
  return 0;
}
