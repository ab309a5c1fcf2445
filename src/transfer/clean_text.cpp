#include "transfer/clean_text.h"

namespace tarvik::transfer {

archive::Text CleanText(std::u16string_view text) {
  archive::Text cleaned;
  cleaned.reserve(text.size());
  for (char16_t c : text)
    if (c >= 32 || c == u'\t') cleaned.push_back(c);
  return cleaned;
}

}  // namespace tarvik::transfer
