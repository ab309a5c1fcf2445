// Fuzzes the row decoders: a table definition is made from the first bytes, the next bytes are one
// row that RowLayout::split cuts into columns and ValueDecoder turns into values (memo and OLE
// columns follow their long-value pointers into the pages that make up the rest of the input), and
// every value is then encoded as a transfer-file value line. Input layout:
//   [0]      bit 0: Jet3 format; bit 1: rows carry variable-column offsets; bits 2-3: the
//            archive's code page, for Jet3 text (1252, 1251, 932, 1253)
//   [1]      column count (mod 33)
//   8 bytes per column: type code, flags, number, variable index, fixed offset (u16), length (u16)
//   u16      row length, then the row's bytes
//   the rest: pages 3, 4, ... of an in-memory archive (see in_memory_archive.h)
// Any outcome but values or an ArchiveError/TransferError (a crash, a sanitizer report, a hang) is
// a bug.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/archive_error.h"
#include "archive/jet/page_source.h"
#include "archive/jet/row_layout.h"
#include "archive/jet/value_decoder.h"
#include "in_memory_archive.h"
#include "transfer/transfer_error.h"
#include "transfer/value_line.h"

using namespace tarvik::archive;
using namespace tarvik::archive::jet;

namespace {

constexpr std::size_t kMaxColumns = 33;
constexpr std::uint16_t kCodePages[] = {1252, 1251, 932, 1253};

TableDef read_definition(tarvik::fuzz::InputCursor& in, bool variable_columns) {
  TableDef table;
  table.name = "Fuzz";
  table.num_var_cols = variable_columns ? 1 : 0;
  const std::size_t count = in.u8() % kMaxColumns;
  for (std::size_t i = 0; i < count; ++i) {
    Column c;
    c.name = "c" + std::to_string(i);
    c.type = static_cast<FieldType>(in.u8());
    c.flags = in.u8();
    c.number = in.u8();
    c.var_index = in.u8();
    c.fixed_offset = in.u16();
    c.length = in.u16();
    table.columns.push_back(c);
  }
  // The reader keeps columns in column-number order.
  std::stable_sort(table.columns.begin(), table.columns.end(),
                   [](const Column& a, const Column& b) { return a.number < b.number; });
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tarvik::fuzz::InputCursor in({data, size});
  const std::uint8_t flags = in.u8();
  const bool jet3 = (flags & 1) != 0;
  const TableDef table = read_definition(in, (flags & 2) != 0);
  const std::span<const std::uint8_t> row = in.bytes(in.u16());
  const std::vector<std::uint8_t> row_copy(row.begin(), row.end());  // exact bounds for ASan

  std::unique_ptr<PageSource> pages;
  try {
    pages = PageSource::from_memory(tarvik::fuzz::make_in_memory_archive(jet3, kCodePages[(flags >> 2) & 3], in.rest()), "fuzz.mdb");
  } catch (const ArchiveError&) {
    __builtin_trap();  // the synthetic header must always be accepted
  }

  RowLayout layout(table, pages->format());
  std::vector<Field> fields;
  try {
    layout.split(row_copy, fields);
  } catch (const ArchiveError&) {
    return 0;
  }
  if (fields.size() != table.columns.size()) __builtin_trap();

  ValueDecoder decoder(*pages);
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    try {
      const Value value = decoder.decode(table.columns[i], fields[i]);
      line.clear();
      tarvik::transfer::append_value_line(line, value, false);
      tarvik::transfer::append_value_line(line, value, true);
    } catch (const ArchiveError&) {
    } catch (const tarvik::transfer::TransferError&) {
    }
  }
  return 0;
}
