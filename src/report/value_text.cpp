#include "report/value_text.h"

#include "common/utf8.h"
#include "common/windows1252.h"
#include "transfer/transfer_error.h"
#include "transfer/value_line.h"

namespace tarvik::report {

std::string ValueText(const archive::Value& value) {
  using archive::ValueKind;
  switch (value.kind()) {
    case ValueKind::Null: return "(vuoto)";
    case ValueKind::Text: return tarvik::utf16_to_utf8(value.as_text());
    case ValueKind::Binary: return "(dati binari)";
    case ValueKind::Guid: return "(GUID)";
    default: break;
  }
  std::string line;
  transfer::append_value_line(line, value, false);
  if (line.empty()) return "(non rappresentabile)";
  // The padded forms carry blanks for the importer; the reader of the page needs none.
  const auto first = line.find_first_not_of(' ');
  const auto last = line.find_last_not_of(' ');
  return first == std::string::npos ? line : line.substr(first, last - first + 1);
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size() * 3);  // a byte is at most three bytes of UTF-8
  for (const unsigned char b : bytes) {
    if (b < 0x80) utf8.push_back(static_cast<char>(b));
    else tarvik::append_utf8(utf8, windows1252_char(b));
  }
  return utf8;
}

}  // namespace tarvik::report
