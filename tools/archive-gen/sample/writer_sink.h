// Rows straight into a Jet archive.
#pragma once

#include "archive-gen/jet_writer.h"
#include "row_sink.h"

namespace tarvik::archive_gen::sample {

class WriterSink final : public RowSink {
 public:
  explicit WriterSink(JetWriter& writer) : writer_(writer) {}
  void add_row(std::size_t table, std::span<const archive::Value> row) override { writer_.add_row(table, row); }

 private:
  JetWriter& writer_;
};

}  // namespace tarvik::archive_gen::sample
