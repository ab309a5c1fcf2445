// The line after every raw memo value: the only way the importer finds where a value that may
// span several lines ends. In Windows-1252 the "£" is the one byte 0xA3.
#pragma once

#include <string_view>

namespace tarvik::transfer {

inline constexpr std::u16string_view kMemoEndMarker = u"@#£$%&/()=?<>FINE MEMO@#£$%&/()=?<>";

}  // namespace tarvik::transfer
