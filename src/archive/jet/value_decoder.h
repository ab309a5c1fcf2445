// Turns a column's stored bytes into a typed Value: one small decoder per column type, chosen by
// the column's type code. Numbers are read as the bytes hold them, never through text.
#pragma once

#include "archive/jet/page_source.h"
#include "archive/jet/row_layout.h"
#include "archive/jet/table_def.h"
#include "archive/value.h"

namespace tarvik::archive::jet {

class ValueDecoder {
 public:
  explicit ValueDecoder(const PageSource& pages) : pages_(pages) {}

  // Throws "damaged" when a fixed-size value is shorter than its type or a long value is broken.
  Value decode(const Column& column, const Field& field) const;

 private:
  Value decode_text(Bytes bytes) const;
  const PageSource& pages_;
};

}  // namespace tarvik::archive::jet
