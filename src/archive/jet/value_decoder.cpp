#include "archive/jet/value_decoder.h"

#include <cstring>
#include <string>

#include "archive/jet/long_value.h"
#include "archive/jet/text_codec.h"

namespace tarvik::archive::jet {

namespace {

constexpr std::size_t kNumericSize = 17;
constexpr std::uint8_t kNumericNegative = 0x80;

Bytes require(const Column& column, Bytes bytes, std::size_t size) {
  if (bytes.size() < size)
    throw errors::damaged("colonna '" + column.name + "': valore più corto del suo tipo");
  return bytes;
}

float load_single(const std::uint8_t* p) {
  std::uint32_t raw = load_u32(p);
  float v;
  std::memcpy(&v, &raw, sizeof v);
  return v;
}

double load_double(const std::uint8_t* p) {
  std::uint64_t raw = load_u64(p);
  double v;
  std::memcpy(&v, &raw, sizeof v);
  return v;
}

Numeric load_numeric(const Column& column, const std::uint8_t* p) {
  Numeric n;
  n.negative = (p[0] & kNumericNegative) != 0;
  for (int word = 0; word < 4; ++word)
    n.magnitude = (n.magnitude << 32) | load_u32(p + 1 + 4 * word);
  n.precision = column.precision;
  n.scale = column.scale;
  return n;
}

}  // namespace

void ValueDecoder::decode_text(Bytes bytes, Value& out) {
  Text& text = out.text_to_replace();
  if (pages_.format().jet3) code_page_.decode(bytes, text);
  else decode_jet4_text(bytes, text);
}

Value ValueDecoder::decode(const Column& column, const Field& field) {
  Value v;
  decode_into(column, field, v);
  return v;
}

void ValueDecoder::decode_into(const Column& column, const Field& field, Value& out) {
  if (column.type == FieldType::Text && field.present) {
    decode_text(field.bytes, out);
    return;
  }
  if (column.type == FieldType::Memo && field.present) {
    decode_text(read_long_value(pages_, field.bytes, long_value_), out);
    long_value_.page = Page{};  // the page's block may go back to the cache
    return;
  }
  // The kinds most rows hold are set in place; the others go through decode_other.
  if (column.type == FieldType::Boolean) return out.set(field.present);
  if (!field.present) return out.set_null();
  const Bytes b = field.bytes;
  switch (column.type) {
    case FieldType::Byte: return out.set(require(column, b, 1)[0]);
    case FieldType::Integer: return out.set(static_cast<std::int16_t>(load_u16(require(column, b, 2).data())));
    case FieldType::Long: return out.set(static_cast<std::int32_t>(load_u32(require(column, b, 4).data())));
    case FieldType::Currency:
      return out.set(Currency{static_cast<std::int64_t>(load_u64(require(column, b, 8).data()))});
    case FieldType::Single: return out.set(load_single(require(column, b, 4).data()));
    case FieldType::Double: return out.set(load_double(require(column, b, 8).data()));
    case FieldType::DateTime: return out.set(DateTime{load_double(require(column, b, 8).data())});
    default: out = decode_other(column, field);
  }
}

Value ValueDecoder::decode_other(const Column& column, const Field& field) const {
  Bytes b = field.bytes;
  switch (column.type) {
    case FieldType::Complex:
      return Value::long_(static_cast<std::int32_t>(load_u32(require(column, b, 4).data())));
    case FieldType::Guid: {
      Guid g;
      std::memcpy(g.bytes.data(), require(column, b, 16).data(), 16);
      return Value::guid(g);
    }
    case FieldType::Numeric:
      return Value::numeric(load_numeric(column, require(column, b, kNumericSize).data()));
    case FieldType::BigInt: {
      // Exact as a scale-0 decimal: Value has no 64-bit integer kind.
      std::int64_t v = static_cast<std::int64_t>(load_u64(require(column, b, 8).data()));
      Numeric n;
      n.negative = v < 0;
      n.magnitude = v < 0 ? static_cast<unsigned __int128>(-(v + 1)) + 1 : static_cast<unsigned __int128>(v);
      n.precision = 19;
      return Value::numeric(n);
    }
    case FieldType::Ole: return Value::binary(read_long_value(pages_, b));
    case FieldType::DateTimeExt: {
      std::u16string text(b.begin(), b.end());
      return Value::text(std::move(text));
    }
    default:  // Binary, and codes Access does not use
      break;
  }
  return Value::binary(Binary(b.begin(), b.end()));
}

}  // namespace tarvik::archive::jet
