#include "transfer/text_changes.h"

#include "common/utf8.h"
#include "transfer/windows1252.h"

namespace tarvik::transfer {

TextChanges FindTextChanges(std::u16string_view text, bool raw) {
  auto removed = [raw](char16_t c) { return !raw && c < 0x20 && c != u'\t'; };
  TextChanges changes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0x20 && c < 0x80) continue;
    if (c < 0x20) {
      if (removed(c)) ++changes.controls_removed;
      continue;
    }
    // A pair is one character; in a cleaned text its halves may stand apart with control
    // characters between them, which go first.
    std::size_t low = i + 1;
    if (is_high_surrogate(c))
      while (low < text.size() && removed(text[low])) ++low;
    const bool pair = is_high_surrogate(c) && low < text.size() && is_low_surrogate(text[low]);
    if (!pair && InWindows1252(c)) continue;
    ++changes.outside_count;
    if (changes.outside_count <= kOutsideCharactersKept) {
      changes.outside_code_page.push_back(c);
      if (pair) changes.outside_code_page.push_back(text[low]);
    }
    if (pair) {
      changes.controls_removed += low - i - 1;
      i = low;
    }
  }
  return changes;
}

}  // namespace tarvik::transfer
