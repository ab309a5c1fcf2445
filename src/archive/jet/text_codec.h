// Text as Jet stores it, turned into UTF-16: Jet4's UCS-2 with compressed-unicode runs, and Jet3's
// single bytes in the database code page.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "archive/jet/bytes.h"
#include "platform/code_page.h"

namespace tarvik::archive::jet {

// Jet4 text: compressed when it starts with FF FE (bytes are characters 0x01-0xFF, a 0x00 byte
// toggles to two-byte characters and back), otherwise UCS-2LE. An odd trailing byte is dropped.
std::u16string decode_jet4_text(Bytes bytes);
// The same into `out`, replacing its content and reusing its storage.
void decode_jet4_text(Bytes bytes, std::u16string& out);

// Jet3 text in a Windows code page. 1252 is decoded here, as Windows does it (the five bytes
// 1252 leaves undefined map to the C1 controls of the same value); other code pages go through
// the system's converter, and an unknown code page falls back to 1252.
std::u16string decode_code_page(Bytes bytes, std::uint16_t code_page);

// The same for many texts of one code page: the converter is opened once, on the first text that
// needs it, and kept.
class CodePageDecoder {
 public:
  explicit CodePageDecoder(std::uint16_t code_page) : code_page_(code_page) {}
  ~CodePageDecoder();
  CodePageDecoder(const CodePageDecoder&) = delete;
  CodePageDecoder& operator=(const CodePageDecoder&) = delete;

  // Replaces `out` with the text of `bytes`.
  void decode(Bytes bytes, std::u16string& out);

 private:
  bool decode_with_system(Bytes bytes, std::u16string& out);

  std::uint16_t code_page_;
  std::unique_ptr<platform::CodePageDecoder> converter_;  // opened on first use
  bool unavailable_ = false;  // the system knows no such code page: 1252 stands in
};

}  // namespace tarvik::archive::jet
