#include "report/value_text.h"

#include "common/utf8.h"
#include "transfer/transfer_error.h"
#include "transfer/value_line.h"

namespace tarvik::report {

namespace {

// The code points of Windows-1252's bytes 0x80 to 0x9F; the five it leaves undefined stand for
// the control characters of the same value, as the writer produces them.
constexpr char16_t kHighHalf[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

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
    else tarvik::append_utf8(utf8, b < 0xA0 ? kHighHalf[b - 0x80] : char32_t{b});
  }
  return utf8;
}

}  // namespace tarvik::report
