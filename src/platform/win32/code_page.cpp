#include "platform/code_page.h"

#include <windows.h>

#include <vector>

namespace tarvik::platform {

namespace {

class Win32Decoder final : public CodePageDecoder {
 public:
  Win32Decoder(UINT code_page, bool lead_bytes) : code_page_(code_page), lead_bytes_(lead_bytes) {}

  std::u16string decode(const std::uint8_t* bytes, std::size_t size) override {
    std::u16string out;
    out.reserve(size);
    std::size_t i = 0;
    while (i < size) {
      // One character at a time: a lead byte takes its trail byte with it when there is one.
      const std::size_t length = lead_bytes_ && IsDBCSLeadByteEx(code_page_, bytes[i]) && i + 1 < size ? 2 : 1;
      if (length == 1 && lead_bytes_ && IsDBCSLeadByteEx(code_page_, bytes[i])) {
        out.push_back(u'\uFFFD');  // a lead byte cut off at the end
        ++i;
        continue;
      }
      wchar_t wide[4];
      const int n = MultiByteToWideChar(code_page_, MB_ERR_INVALID_CHARS,
                                        reinterpret_cast<const char*>(bytes + i), static_cast<int>(length),
                                        wide, 4);
      if (n <= 0) {
        out.push_back(u'\uFFFD');
        ++i;
        continue;
      }
      for (int k = 0; k < n; ++k) out.push_back(static_cast<char16_t>(wide[k]));
      i += length;
    }
    return out;
  }

 private:
  UINT code_page_;
  bool lead_bytes_;
};

}  // namespace

std::unique_ptr<CodePageDecoder> CodePageDecoder::open(std::uint16_t code_page) {
  CPINFO info{};
  if (!IsValidCodePage(code_page) || !GetCPInfo(code_page, &info)) return nullptr;
  return std::make_unique<Win32Decoder>(code_page, info.MaxCharSize > 1);
}

}  // namespace tarvik::platform
