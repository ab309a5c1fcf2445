#include "field_encoding.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "common/windows1252.h"
#include "jet4_text.h"
#include "little_endian.h"
#include "long_value_writer.h"

namespace tarvik::archive_gen {

using archive::Value;
using archive::ValueKind;
using archive::FieldType;

namespace {

// Access's date range: 100-01-01 to 9999-12-31 23:59:59.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958466.0;
// Memos longer than this are never compressed (Access does not).
constexpr std::size_t kMaxCompressedMemo = 1024;

ValueKind kind_for(FieldType type) {
  switch (type) {
    case FieldType::Boolean: return ValueKind::Boolean;
    case FieldType::Byte: return ValueKind::Byte;
    case FieldType::Integer: return ValueKind::Integer;
    case FieldType::Long: return ValueKind::Long;
    case FieldType::Single: return ValueKind::Single;
    case FieldType::Double: return ValueKind::Double;
    case FieldType::Currency: return ValueKind::Currency;
    case FieldType::DateTime: return ValueKind::DateTime;
    case FieldType::Text:
    case FieldType::Memo: return ValueKind::Text;
    case FieldType::Ole: return ValueKind::Binary;
    case FieldType::Guid: return ValueKind::Guid;
    default: return ValueKind::Null;
  }
}

const char* kind_name(ValueKind kind) {
  static constexpr const char* kNames[] = {"null",     "boolean",  "byte", "integer", "long",
                                           "single",   "double",   "currency", "datetime",
                                           "text",     "binary",   "guid", "numeric"};
  return kNames[static_cast<int>(kind)];
}

// Why a text cannot be kept in Windows-1252, or an empty string when it can.
std::string code_page_problem(std::u16string_view text) {
  for (char16_t c : text) {
    if (windows1252_byte(c) >= 0) continue;
    char code[8];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    return std::string("a character Windows-1252 lacks (") + code +
           "): a Jet3 archive keeps its texts in that code page";
  }
  return {};
}

std::vector<std::uint8_t> encode_code_page_text(std::u16string_view text) {
  std::vector<std::uint8_t> out(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = static_cast<std::uint8_t>(windows1252_byte(text[i]));
  return out;
}

}  // namespace

std::string value_problem(const ColumnLayout& column, const Value& value) {
  const ValueKind expected = kind_for(column.type);
  if (value.kind() != expected)
    return std::string("a ") + kind_name(value.kind()) + " value where the column holds " +
           kind_name(expected) + " values";
  switch (column.type) {
    case FieldType::Single:
      if (!std::isfinite(value.as_single())) return "not a finite number";
      break;
    case FieldType::Double:
      if (!std::isfinite(value.as_double())) return "not a finite number";
      break;
    case FieldType::DateTime: {
      // The range is of the date's parts: before 1899-12-30 the time of day is added to the
      // magnitude, so 0100-01-01 00:00:01 is stored just below the first day's number.
      const double d = value.as_datetime().days;
      if (!std::isfinite(d) || std::trunc(d) < kFirstDay || std::trunc(d) >= kLastDay)
        return "a date outside the years 100 to 9999";
      break;
    }
    case FieldType::Text:
      if (value.as_text().size() > column.text_size)
        return "a text of " + std::to_string(value.as_text().size()) +
               " characters is longer than the column's size " +
               std::to_string(column.text_size);
      if (column.code_page_text) return code_page_problem(value.as_text());
      break;
    case FieldType::Ole:
      if (value.as_binary().size() > LongValueWriter::kMaxLength)
        return "a value longer than 16 MB";
      break;
    case FieldType::Memo:
      if (value.as_text().size() * (column.code_page_text ? 1 : 2) > LongValueWriter::kMaxLength)
        return "a value longer than 16 MB";
      if (column.code_page_text) return code_page_problem(value.as_text());
      break;
    default:
      break;
  }
  return {};
}

void store_fixed(const ColumnLayout& column, const Value& value, std::uint8_t* out) {
  switch (column.type) {
    case FieldType::Byte: store_u8(out, value.as_byte()); break;
    case FieldType::Integer: store_u16(out, static_cast<std::uint16_t>(value.as_integer())); break;
    case FieldType::Long: store_u32(out, static_cast<std::uint32_t>(value.as_long())); break;
    case FieldType::Single: store_f32(out, value.as_single()); break;
    case FieldType::Double: store_f64(out, value.as_double()); break;
    case FieldType::Currency:
      store_u64(out, static_cast<std::uint64_t>(value.as_currency().ten_thousandths));
      break;
    case FieldType::DateTime: store_f64(out, value.as_datetime().days); break;
    case FieldType::Guid:
      for (std::size_t i = 0; i < 16; ++i) out[i] = value.as_guid().bytes[i];
      break;
    default: throw std::logic_error("not a fixed column");
  }
}

void variable_bytes(const ColumnLayout& column, const Value& value, bool may_compress,
                    std::vector<std::uint8_t>& out) {
  switch (column.type) {
    case FieldType::Text:
    case FieldType::Memo:
      if (column.code_page_text) {
        out = encode_code_page_text(value.as_text());
      } else {
        const bool short_enough =
            column.type == FieldType::Text || value.as_text().size() <= kMaxCompressedMemo;
        out = encode_jet4_text(value.as_text(), may_compress && short_enough);
      }
      break;
    case FieldType::Ole: out.assign(value.as_binary().begin(), value.as_binary().end()); break;
    default: throw std::logic_error("not a variable column");
  }
}

}  // namespace tarvik::archive_gen
