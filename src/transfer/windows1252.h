// The transfer file's code page. Text reaches the writer as UTF-16 (or UTF-8 for the program's own
// texts) and leaves it as Windows-1252 bytes; a character the code page lacks becomes one "?".
#pragma once

#include <string>
#include <string_view>

namespace tarvik::transfer {

// What a conversion did to a text beyond mapping it, for those who count changed values.
struct TextOutcome {
  bool replaced = false;          // a character outside Windows-1252 became "?"
  bool removed_controls = false;  // control characters were left out (cleaned text only)
};

// Appends the Windows-1252 bytes of `text`. A surrogate pair is one character and so one "?";
// an unpaired surrogate is also one "?". The five bytes Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) come from the control characters of the same value, as the archive's
// reader decodes them, so such text goes back out as it came in.
TextOutcome append_windows1252(std::string& out, std::u16string_view text);

// The same for CleanText(text) (clean_text.h), in one pass and without a copy of the text: the
// characters 0 to 31 other than TAB are left out before the conversion, so a surrogate pair
// split by a control character still counts as one character.
TextOutcome append_windows1252_cleaned(std::string& out, std::u16string_view text);

// Whether one UTF-16 unit has a byte of its own in Windows-1252 (a surrogate never has).
bool InWindows1252(char16_t unit);

// The same for UTF-8 text; each ill-formed byte becomes one "?".
void append_windows1252_utf8(std::string& out, std::string_view text);

}  // namespace tarvik::transfer
