#include "platform/posix/utf16_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace tarvik::platform {

namespace {

// Converts `size` bytes from one encoding to the other; where a unit of `unit` bytes cannot be
// converted, writes `replacement` and goes on after it.
std::string Convert(const char* to, const char* from, const char* bytes, std::size_t size, std::size_t unit,
                    std::string_view replacement) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
  std::string out(size * 4 + 8, '\0');
  char* in_ptr = const_cast<char*>(bytes);
  std::size_t in_left = size;
  char* out_ptr = out.data();
  std::size_t out_left = out.size();
  while (in_left > 0) {
    if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<std::size_t>(-1)) break;
    if ((errno != EILSEQ && errno != EINVAL) || out_left < replacement.size()) break;
    std::memcpy(out_ptr, replacement.data(), replacement.size());
    out_ptr += replacement.size();
    out_left -= replacement.size();
    const std::size_t skipped = in_left < unit ? in_left : unit;
    in_ptr += skipped;
    in_left -= skipped;
  }
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view text) {
  static constexpr char kReplacement[] = {char(0xFD), char(0xFF)};
  const std::string bytes =
      Convert("UTF-16LE", "UTF-8", text.data(), text.size(), 1, std::string_view(kReplacement, 2));
  std::u16string out(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return out;
}

std::string Utf8FromUtf16(std::u16string_view text) {
  std::string units(text.size() * 2, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    units[2 * i] = static_cast<char>(text[i] & 0xFF);
    units[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return Convert("UTF-8", "UTF-16LE", units.data(), units.size(), 2, "\xEF\xBF\xBD");
}

}  // namespace tarvik::platform
