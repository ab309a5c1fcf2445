#include "sample_generator.h"

#include <optional>

#include "writer_sink.h"

#include "ansi_texts.h"
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

namespace {

class EditingSink final : public RowSink {
 public:
  EditingSink(JetWriter& writer, RowEditor& editor) : writer_(writer), editor_(editor) {}
  void add_row(std::size_t table, std::span<const archive::Value> row) override { editor_.edit(writer_, table, row); }

 private:
  JetWriter& writer_;
  RowEditor& editor_;
};

}  // namespace

std::vector<TableRowCount> write_sample_archive(const SampleOptions& options, RowEditor* edit) {
  const SampleSchema schema = tarvik_schema(options.outdated);
  JetWriter writer(options.output_path, schema.tables, options.writer);
  WriterSink to_writer(writer);
  std::optional<EditingSink> editing;
  if (edit != nullptr) editing.emplace(writer, *edit);
  RowSink& direct = editing ? static_cast<RowSink&>(*editing) : to_writer;
  AnsiTextSink ansi(direct);
  const auto counts = generate_sample(options, schema, options.ansi_texts ? static_cast<RowSink&>(ansi) : direct);
  writer.finish();
  return counts;
}

}  // namespace tarvik::archive_gen::sample
