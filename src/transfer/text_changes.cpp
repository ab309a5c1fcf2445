#include "transfer/text_changes.h"

#include "common/utf8.h"
#include "transfer/windows1252.h"

namespace tarvik::transfer {

TextChanges FindTextChanges(std::u16string_view text, bool raw) {
  TextChanges changes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0x20 && c < 0x80) continue;
    if (c < 0x20) {
      if (!raw && c != u'\t') ++changes.controls_removed;
      continue;
    }
    const bool pair = is_high_surrogate(c) && i + 1 < text.size() && is_low_surrogate(text[i + 1]);
    if (!pair && InWindows1252(c)) continue;
    ++changes.outside_count;
    if (changes.outside_count <= kOutsideCharactersKept) {
      changes.outside_code_page.push_back(c);
      if (pair) changes.outside_code_page.push_back(text[i + 1]);
    }
    if (pair) ++i;
  }
  return changes;
}

}  // namespace tarvik::transfer
