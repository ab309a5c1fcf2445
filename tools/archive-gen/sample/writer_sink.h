// Rows straight into a Jet4 archive.
#pragma once

#include "archive-gen/jet4_writer.h"
#include "row_sink.h"

namespace tarvik::archive_gen::sample {

class WriterSink final : public RowSink {
 public:
  explicit WriterSink(Jet4Writer& writer) : writer_(writer) {}
  void add_row(std::size_t table, std::span<const archive::Value> row) override { writer_.add_row(table, row); }

 private:
  Jet4Writer& writer_;
};

}  // namespace tarvik::archive_gen::sample
