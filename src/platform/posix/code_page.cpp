#include "platform/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <string>
#include <vector>

namespace tarvik::platform {

namespace {

class IconvDecoder final : public CodePageDecoder {
 public:
  explicit IconvDecoder(iconv_t cd) : cd_(cd) {}
  ~IconvDecoder() override { iconv_close(cd_); }

  std::u16string decode(const std::uint8_t* bytes, std::size_t size) override {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state for every value
    std::vector<char> in(bytes, bytes + size);
    std::vector<char> buffer(size * 4 + 8);
    char* in_ptr = in.data();
    std::size_t in_left = in.size();
    char* out_ptr = buffer.data();
    std::size_t out_left = buffer.size();
    while (in_left > 0) {
      if (iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<std::size_t>(-1)) break;
      if (errno != EILSEQ && errno != EINVAL) break;
      // An invalid or cut-off sequence: one replacement character, then go on.
      if (out_left < 2) break;
      *out_ptr++ = char(0xFD);
      *out_ptr++ = char(0xFF);
      out_left -= 2;
      ++in_ptr;
      --in_left;
    }
    std::u16string out;
    const std::size_t produced = buffer.size() - out_left;
    out.reserve(produced / 2);
    for (std::size_t i = 0; i + 1 < produced; i += 2)
      out.push_back(char16_t(std::uint8_t(buffer[i]) | (std::uint8_t(buffer[i + 1]) << 8)));
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::unique_ptr<CodePageDecoder> CodePageDecoder::open(std::uint16_t code_page) {
  const std::string name = "CP" + std::to_string(code_page);
  iconv_t cd = iconv_open("UTF-16LE", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  return std::make_unique<IconvDecoder>(cd);
}

}  // namespace tarvik::platform
