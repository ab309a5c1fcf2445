// What the writer does to a text on its way into the file, told in words for the report: the
// characters Windows-1252 lacks, and the control characters CleanText removes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvik::transfer {

// Enough to show which characters were lost; the count says how many there were.
inline constexpr std::size_t kOutsideCharactersKept = 40;

struct TextChanges {
  std::u16string outside_code_page;  // each character that became "?", in order (pairs kept whole)
  std::size_t outside_count = 0;
  std::size_t controls_removed = 0;  // only for a text written with the raw flag false
  bool any() const { return outside_count > 0 || controls_removed > 0; }
};

// Plain ASCII without control characters, the common case, is answered in one pass.
TextChanges FindTextChanges(std::u16string_view text, bool raw);

}  // namespace tarvik::transfer
