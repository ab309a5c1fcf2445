// Text as Jet stores it, turned into UTF-16: Jet4's UCS-2 with compressed-unicode runs, and Jet3's
// single bytes in the database code page.
#pragma once

#include <cstdint>
#include <string>

#include "archive/jet/bytes.h"

namespace tarvik::archive::jet {

// Jet4 text: compressed when it starts with FF FE (bytes are characters 0x01-0xFF, a 0x00 byte
// toggles to two-byte characters and back), otherwise UCS-2LE. An odd trailing byte is dropped.
std::u16string decode_jet4_text(Bytes bytes);

// Jet3 text in a Windows code page. 1252 is decoded here, as Windows does it (the five bytes
// 1252 leaves undefined map to the C1 controls of the same value); other code pages go through
// the system's converter, and an unknown code page falls back to 1252.
std::u16string decode_code_page(Bytes bytes, std::uint16_t code_page);

}  // namespace tarvik::archive::jet
