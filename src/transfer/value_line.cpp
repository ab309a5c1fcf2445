#include "transfer/value_line.h"

#include "transfer/date_text.h"
#include "transfer/number_text.h"
#include "transfer/transfer_error.h"
#include "transfer/windows1252.h"

namespace tarvik::transfer {

TextOutcome append_value_line(std::string& out, const archive::Value& value, bool raw) {
  using archive::ValueKind;
  switch (value.kind()) {
    case ValueKind::Null:
      return {};
    case ValueKind::Boolean:
      out += value.as_boolean() ? 'T' : 'F';
      return {};
    case ValueKind::Byte:
      append_padded_number(out, value.as_byte());
      return {};
    case ValueKind::Integer:
      append_integer_text(out, value.as_integer());
      return {};
    case ValueKind::Long:
      append_integer_text(out, value.as_long());
      return {};
    case ValueKind::Single:
      append_single_text(out, value.as_single());
      return {};
    case ValueKind::Double:
      append_double_text(out, value.as_double());
      return {};
    case ValueKind::Currency:
      append_currency_text(out, value.as_currency());
      return {};
    case ValueKind::DateTime:
      append_date_text(out, value.as_datetime());
      return {};
    case ValueKind::Text:
      // Cleaned while converted: the same bytes as CleanText's copy, without the copy.
      if (raw) return append_windows1252(out, value.as_text());
      return append_windows1252_cleaned(out, value.as_text());
    case ValueKind::Numeric:
      append_padded_numeric(out, value.as_numeric());
      return {};
    case ValueKind::Binary:
    case ValueKind::Guid:
      throw errors::type_mismatch();
  }
  throw errors::type_mismatch();
}

}  // namespace tarvik::transfer
