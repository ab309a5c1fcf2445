// The sample's texts as the users of a Jet3 archive typed them: their Windows only let them type
// what Windows-1252 holds. Letters beyond it become their nearest letter there (Ł as L, ő as ö,
// Greek letters as Latin ones), any other character a "?". The rows are otherwise the same, so a
// Jet4 sample with these texts holds exactly what the Jet3 one does.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "archive/value.h"
#include "row_sink.h"

namespace tarvik::archive_gen::sample {

std::u16string ansi_text(std::u16string_view text);

// Passes rows on with every text in its ANSI form.
class AnsiTextSink final : public RowSink {
 public:
  explicit AnsiTextSink(RowSink& next) : next_(next) {}
  void add_row(std::size_t table, std::span<const archive::Value> row) override;

 private:
  RowSink& next_;
  std::vector<archive::Value> row_;
};

}  // namespace tarvik::archive_gen::sample
