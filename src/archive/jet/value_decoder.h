// Turns a column's stored bytes into a typed Value: one small decoder per column type, chosen by
// the column's type code. Numbers are read as the bytes hold them, never through text.
#pragma once

#include "archive/jet/long_value.h"
#include "archive/jet/page_source.h"
#include "archive/jet/row_layout.h"
#include "archive/jet/table_def.h"
#include "archive/jet/text_codec.h"
#include "archive/value.h"

namespace tarvik::archive::jet {

class ValueDecoder {
 public:
  explicit ValueDecoder(const PageSource& pages)
      : pages_(pages), code_page_(pages.header().code_page) {}

  // Throws "damaged" when a fixed-size value is shorter than its type or a long value is broken.
  Value decode(const Column& column, const Field& field);
  // The same into `out`; a text goes into the storage `out` already has.
  void decode_into(const Column& column, const Field& field, Value& out);

 private:
  void decode_text(Bytes bytes, Value& out);
  // A present value of a type that decode_into does not set in place (Guid, Numeric, BigInt,
  // Complex, Ole, the extended date, binary).
  Value decode_other(const Column& column, const Field& field) const;
  const PageSource& pages_;
  CodePageDecoder code_page_;  // Jet3 text
  LongValueScratch long_value_;  // a memo's bytes, read where they lie
};

}  // namespace tarvik::archive::jet
