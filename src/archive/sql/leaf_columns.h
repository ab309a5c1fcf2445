// Which columns of the leftmost table its scan decodes. A row is scanned decoding only what
// decides whether it gives a row (WHERE, the joins, the grouping); the other columns the result
// reads are read by the row's pointer when its values are asked for, so filtered and counted rows
// cost little.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "archive/jet/jet_file.h"
#include "archive/sql/plan.h"

namespace tarvik::archive::sql {

class LeafColumns {
 public:
  // `scan` decodes the columns marked in `lean`; the rest of the kept columns wait for complete().
  void choose(const jet::JetFile& file, const PlanSource& src, jet::TableScan& scan, std::vector<bool> lean);
  // A row has been scanned: with a lean scan, its other columns are still to be read.
  void row_scanned() { row_ = scan_lean_ ? RowColumns::Partial : RowColumns::Whole; }
  // Makes the scanned row at `pointer` hold every kept column.
  void complete(std::uint32_t pointer, std::vector<Value>& row) {
    if (row_ != RowColumns::Partial) return;
    reader_->read_at(pointer, row);
    row_ = RowColumns::Whole;
  }
  // Reads the row at `pointer` whole, without a scan.
  void read_whole_at(const jet::JetFile& file, const PlanSource& src, std::uint32_t pointer, std::vector<Value>& row);

 private:
  enum class RowColumns : std::uint8_t { Whole, Partial };
  void open_reader(const jet::JetFile& file, const PlanSource& src);

  std::optional<jet::TableScan> reader_;  // reads a row's kept columns by its pointer
  bool scan_lean_ = false;                // the scan leaves kept columns out
  RowColumns row_ = RowColumns::Whole;
};

// One flag per column of the source's table: the columns the query keeps of it.
std::vector<bool> stored_mask(const PlanSource& src);

}  // namespace tarvik::archive::sql
