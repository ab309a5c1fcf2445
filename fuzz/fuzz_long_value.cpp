// Fuzzes the long-value reader alone: a memo or OLE field's bytes (the 12-byte header, inline data
// or a pointer to an LVAL row) and the pages its chain runs through. Input layout:
//   [0]  bit 0: Jet3 format
//   [1]  field length, then the field's bytes
//   the rest: pages 3, 4, ... of an in-memory archive (see in_memory_archive.h)
// A value or an ArchiveError are the only right outcomes; a loop in the chain must be caught.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/archive_error.h"
#include "archive/jet/long_value.h"
#include "archive/jet/page_source.h"
#include "in_memory_archive.h"

using namespace tarvik::archive;
using namespace tarvik::archive::jet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tarvik::fuzz::InputCursor in({data, size});
  const bool jet3 = (in.u8() & 1) != 0;
  const std::span<const std::uint8_t> field_bytes = in.bytes(in.u8());
  const std::vector<std::uint8_t> field(field_bytes.begin(), field_bytes.end());

  std::unique_ptr<PageSource> pages;
  try {
    pages = PageSource::from_memory(tarvik::fuzz::make_in_memory_archive(jet3, 1252, in.rest()), "fuzz.mdb");
  } catch (const ArchiveError&) {
    __builtin_trap();  // the synthetic header must always be accepted
  }
  try {
    const std::vector<std::uint8_t> value = read_long_value(*pages, field);
    // A value can never be longer than the data of the pages it came from.
    if (value.size() > field.size() + std::size_t(pages->page_count()) * pages->page_size())
      __builtin_trap();
  } catch (const ArchiveError&) {
  }
  return 0;
}
