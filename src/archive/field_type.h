// The type of a value across the engine: a column's type as its descriptor stores it, an
// expression's result type and a record set's field type are one enum, the Access data types by
// the codes Access gives them.
#pragma once

#include <cstdint>
#include <string>

namespace tarvik::archive {

enum class FieldType : std::uint8_t {
  Boolean = 0x01,
  Byte = 0x02,
  Integer = 0x03,
  Long = 0x04,
  Currency = 0x05,
  Single = 0x06,
  Double = 0x07,
  DateTime = 0x08,
  Binary = 0x09,
  Text = 0x0A,
  Ole = 0x0B,
  Memo = 0x0C,
  Guid = 0x0F,
  Numeric = 0x10,
  Complex = 0x12,
  BigInt = 0x13,
  DateTimeExt = 0x14,
};

// A column of a record set: its name as the set reports it, its type and its declared size.
struct FieldInfo {
  std::string name;
  FieldType type = FieldType::Text;
  std::uint16_t size = 0;
};

}  // namespace tarvik::archive
