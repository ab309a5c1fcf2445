#include "report/change_text.h"

#include "common/utf8.h"
#include "report/value_text.h"
#include "transfer/text_changes.h"

namespace tarvik::report {

namespace {

// A long memo is shown by its start only: enough to find it in Tarvik.
constexpr std::size_t kWrittenShown = 80;

std::string shortened(std::string utf8) {
  if (utf8.size() <= kWrittenShown) return utf8;
  std::size_t cut = kWrittenShown;
  while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;  // whole characters
  return utf8.substr(0, cut) + "…";
}

std::string text_change(const transfer::ValueChange& change) {
  const transfer::TextChanges found = transfer::FindTextChanges(change.original.as_text(), change.raw);
  std::string out;
  if (found.outside_count > 0) {
    out += std::to_string(found.outside_count) +
           (found.outside_count == 1 ? " carattere fuori da Windows-1252 (" : " caratteri fuori da Windows-1252 (") +
           tarvik::utf16_to_utf8(found.outside_code_page) +
           (found.outside_count > transfer::kOutsideCharactersKept ? "…" : "") +
           ") scritt" + (found.outside_count == 1 ? "o" : "i") + " come \"?\"";
  }
  if (found.controls_removed > 0) {
    if (!out.empty()) out += "; ";
    out += std::to_string(found.controls_removed) +
           (found.controls_removed == 1 ? " carattere di controllo rimosso" : " caratteri di controllo rimossi");
  }
  // Only the start is shown, so only the start is converted (a memo may run to megabytes).
  return out + "; scritto: \"" + shortened(Windows1252ToUtf8(change.written.substr(0, kWrittenShown + 1))) + "\"";
}

}  // namespace

std::string DescribeChange(const transfer::ValueChange& change) {
  switch (change.kind) {
    case transfer::ChangeKind::TextChanged:
      return text_change(change);
    case transfer::ChangeKind::ConditionDropped:
      return "condizione di pagamento " + ValueText(change.original) + " assente da CondPag: scritta vuota";
    case transfer::ChangeKind::NotRepresentable:
      return change.original.kind() == archive::ValueKind::DateTime
                 ? "data fuori dagli anni 1-9999: scritta come riga vuota"
                 : "numero non rappresentabile: scritto come riga vuota";
  }
  return {};
}

}  // namespace tarvik::report
