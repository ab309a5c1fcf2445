#include "sample_generator.h"

#include "sample_plan.h"
#include "table_emitter.h"

namespace tarvik::archive_gen::sample {

std::vector<TableRowCount> generate_sample(const SampleOptions& options, const SampleSchema& schema, RowSink& sink) {
  const SamplePlan plan(options);
  TableEmitter out(plan, schema, sink);
  generate_lookup_tables(out);
  generate_register(out);
  generate_warehouse(out);
  generate_print_layouts(out);
  generate_documents(out);
  generate_journal(out);
  generate_numbering(out);

  std::vector<TableRowCount> counts;
  for (std::size_t i = 0; i < schema.tables.size(); ++i) counts.push_back({schema.tables[i].name, out.counts()[i]});
  return counts;
}

}  // namespace tarvik::archive_gen::sample
