// Text in a Windows code page other than 1252, turned into UTF-16 by the system's own tables.
// One converter serves every value of an archive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tarvik::platform {

class CodePageDecoder {
 public:
  // Null when the system does not know the code page.
  static std::unique_ptr<CodePageDecoder> open(std::uint16_t code_page);
  virtual ~CodePageDecoder() = default;
  // An invalid or cut-off sequence gives one U+FFFD and decoding goes on after its first byte.
  virtual std::u16string decode(const std::uint8_t* bytes, std::size_t size) = 0;
};

}  // namespace tarvik::platform
