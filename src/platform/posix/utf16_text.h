// UTF-8 and UTF-16 text as the INI settings file needs them: QSettings decodes the file as UTF-8
// and unescapes it in UTF-16 units. Converted by the system's iconv, as code pages are.
#pragma once

#include <string>
#include <string_view>

namespace tarvik::platform {

// An invalid or cut-off sequence gives one U+FFFD and decoding goes on after its first byte.
std::u16string Utf16FromUtf8(std::string_view text);
// A surrogate without its pair becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace tarvik::platform
