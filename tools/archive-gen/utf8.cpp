#include "utf8.h"

#include <stdexcept>

#include "common/utf8.h"

namespace tarvik::archive_gen {

// Strict, unlike the reader's conversion: a description with malformed text is refused, never
// written with replacement characters.
std::u16string utf8_to_utf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::optional<char32_t> c = decode_utf8(text, i);
    if (!c || is_surrogate(*c)) throw std::runtime_error("malformed UTF-8");
    append_utf16(out, *c);
  }
  return out;
}

}  // namespace tarvik::archive_gen
