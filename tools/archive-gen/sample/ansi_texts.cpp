#include "ansi_texts.h"

#include <string_view>

#include "common/utf8.h"
#include "common/windows1252.h"

namespace tarvik::archive_gen::sample {

namespace {

// Letters of the sample's foreign names and notes, each beside its stand-in.
constexpr std::u16string_view kLetters = u"ŁłőŐűŰřŘźŹșȘțȚăĂęĘąĄćĆńŃśŚżŻěĚčČňŇťŤďĎůŮ";
constexpr std::u16string_view kStandIns = u"LlöÖüÜrRzZsStTaAeEaAcCnNsSzZeEcCnNtTdDuU";
constexpr std::u16string_view kGreek = u"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩαβγδεζηθικλμνξοπρστυφχψωςάέήίόύώ";
constexpr std::u16string_view kGreekLatin = u"ABGDEZITIKLMNXOPRSTYFCPOabgdezitiklmnxoprstyfcposaeiioyo";
static_assert(kLetters.size() == kStandIns.size() && kGreek.size() == kGreekLatin.size());

}  // namespace

std::u16string ansi_text(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (windows1252_byte(c) >= 0) {
      out += c;
    } else if (const auto at = kLetters.find(c); at != std::u16string_view::npos) {
      out += kStandIns[at];
    } else if (const auto g = kGreek.find(c); g != std::u16string_view::npos) {
      out += kGreekLatin[g];
    } else {
      out += u'?';
      if (is_high_surrogate(c) && i + 1 < text.size()) ++i;  // one character, one "?"
    }
  }
  return out;
}

void AnsiTextSink::add_row(std::size_t table, std::span<const archive::Value> row) {
  row_.assign(row.begin(), row.end());
  for (archive::Value& v : row_)
    if (v.kind() == archive::ValueKind::Text) v = archive::Value::text(ansi_text(v.as_text()));
  next_.add_row(table, row_);
}

}  // namespace tarvik::archive_gen::sample
