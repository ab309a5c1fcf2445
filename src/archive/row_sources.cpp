#include "archive/row_sources.h"

#include <stdexcept>

#include "archive/jet/jet_file.h"
#include "archive/sql/executor.h"

namespace tarvik::archive {

namespace {

class StreamedRows : public RowSource {
 public:
  StreamedRows(const jet::JetFile& file, std::unique_ptr<sql::Plan> plan, sql::JoinIndexCache* cache)
      : plan_(std::move(plan)), execution_(file, *plan_, cache) {}
  sql::Execution& execution() { return execution_; }
  void restart() override { execution_.restart(); }
  bool next() override { return execution_.next(); }
  const std::vector<Value>& row() override { return execution_.current_row(projected_); }
  std::int64_t count_all() override { return execution_.count(); }
  std::optional<UnmatchedRows> take_unmatched() override { return execution_.take_unmatched(); }

 private:
  std::unique_ptr<sql::Plan> plan_;
  sql::Execution execution_;
  std::vector<Value> projected_;  // the current row, when the query computes its values
};

class KeptRows : public RowSource {
 public:
  explicit KeptRows(std::vector<std::vector<Value>> rows) : rows_(std::move(rows)) {}
  void restart() override { next_ = 0; }
  bool next() override {
    if (next_ >= rows_.size()) return false;
    current_ = next_++;
    return true;
  }
  const std::vector<Value>& row() override { return rows_[current_]; }
  std::optional<std::int64_t> known_count() const override {
    return static_cast<std::int64_t>(rows_.size());
  }
  std::int64_t count_all() override { return static_cast<std::int64_t>(rows_.size()); }

 private:
  std::vector<std::vector<Value>> rows_;
  std::size_t next_ = 0;
  std::size_t current_ = 0;
};

class TableRows : public RowSource {
 public:
  TableRows(const jet::JetFile& file, const jet::TableDef& table) : file_(file), table_(table) {}
  void restart() override {
    scan_.reset();
    scan_.emplace(file_.scan(table_));
  }
  bool next() override { return scan_->next(row_); }
  const std::vector<Value>& row() override { return row_; }
  // The rows are counted where they stand, none of them cut into columns, once per run.
  std::int64_t count_all() override { return file_.row_count(table_); }

 private:
  const jet::JetFile& file_;
  jet::TableDef table_;
  std::optional<jet::TableScan> scan_;
  std::vector<Value> row_;
};

}  // namespace

std::unique_ptr<RowSource> query_rows(const jet::JetFile& file, std::unique_ptr<sql::Plan> plan,
                                      sql::JoinIndexCache& cache) {
  if (plan->streams()) return std::make_unique<StreamedRows>(file, std::move(plan), &cache);
  sql::Execution execution(file, *plan, &cache);
  return std::make_unique<KeptRows>(execution.materialize());
}

std::unique_ptr<RowSource> query_rows_at(const jet::JetFile& file, std::unique_ptr<sql::Plan> plan,
                                         const std::vector<std::uint32_t>& pointers) {
  if (!plan->streams() || plan->from->is_join || plan->where)
    throw std::logic_error("rows read by pointer need a query of one table without WHERE");
  auto rows = std::make_unique<StreamedRows>(file, std::move(plan), nullptr);
  rows->execution().replay_rows(pointers);
  return rows;
}

std::unique_ptr<RowSource> table_rows(const jet::JetFile& file, const jet::TableDef& table) {
  return std::make_unique<TableRows>(file, table);
}

}  // namespace tarvik::archive
