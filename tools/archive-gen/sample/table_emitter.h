// What every table generator shares: the plan, the schema, and the sink that counts the rows it
// is given.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "row_builder.h"
#include "row_sink.h"
#include "sample_plan.h"
#include "tarvik_schema.h"

namespace tarvik::archive_gen::sample {

class TableEmitter {
 public:
  TableEmitter(const SamplePlan& plan, const SampleSchema& schema, RowSink& sink)
      : plan_(plan), schema_(schema), sink_(sink), counts_(schema.tables.size(), 0) {}

  const SamplePlan& plan() const { return plan_; }
  RowBuilder row(std::string_view table) const { return RowBuilder(schema_, table); }

  void emit(const RowBuilder& row) {
    sink_.add_row(row.table(), row.values());
    ++counts_[row.table()];
  }

  // Rows given so far, per table in schema order.
  const std::vector<std::uint64_t>& counts() const { return counts_; }

 private:
  const SamplePlan& plan_;
  const SampleSchema& schema_;
  RowSink& sink_;
  std::vector<std::uint64_t> counts_;
};

// One generator per family of tables, each in its own source file.
void generate_lookup_tables(TableEmitter& out);  // the nine lookup tables
void generate_register(TableEmitter& out);       // CliFor, Agenti
void generate_warehouse(TableEmitter& out);      // Magazzino, GiornaleMagazzino, links, bills of materials
void generate_print_layouts(TableEmitter& out);  // StampaPersonalizzata, StampaPersonalizzata2
void generate_documents(TableEmitter& out);      // the seven kinds, headers and rows
void generate_journal(TableEmitter& out);        // PrimanotaDocumenti, PrimanotaMovimenti
void generate_numbering(TableEmitter& out);      // ProgrDocumenti

}  // namespace tarvik::archive_gen::sample
