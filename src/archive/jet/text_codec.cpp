#include "archive/jet/text_codec.h"

#include <array>
#include <bit>
#include <cstring>
#include <string>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/windows1252.h"

namespace tarvik::archive::jet {

namespace {

void decode_cp1252(Bytes bytes, std::u16string& out) {
  out.resize(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::uint8_t b = bytes[i];
    out[i] = windows1252_char(b);
  }
}

// How many bytes from the start of `bytes` (of `n`), up to the first 0x00, are widened to `at`,
// sixteen or eight at a time: a compressed text is mostly such runs, one character a byte.
std::size_t widen_run(const std::uint8_t* bytes, std::size_t n, char16_t* at) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, zero)) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at + i), _mm_unpacklo_epi8(chunk, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at + i + 8), _mm_unpackhi_epi8(chunk, zero));
  }
  // Most texts are short: eight more at once.
  if (i + 8 <= n) {
    const __m128i chunk = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes + i));
    if ((_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, zero)) & 0xFF) == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(at + i), _mm_unpacklo_epi8(chunk, zero));
      i += 8;
    }
  }
#else
  (void)bytes, (void)n, (void)at;
#endif
  return i;
}

bool is_ascii(Bytes bytes) {
  for (std::uint8_t b : bytes)
    if (b >= 0x80) return false;
  return true;
}

}  // namespace

// Each form is written straight into the string's room, none of it filled with zeros first. The
// room's size handed to the writing step is not used: GCC 12's library hands over the grown
// capacity there instead of the size asked for.
void decode_jet4_text(Bytes bytes, std::u16string& out) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    const std::size_t n = bytes.size();
    if (std::memchr(bytes.data() + 2, 0, n - 2) == nullptr) {
      // All compressed, as most texts are: one character a byte, the length known at once.
      const std::size_t length = n - 2;
      out.resize_and_overwrite(length, [&](char16_t* at, std::size_t) {
        const std::size_t run = widen_run(bytes.data() + 2, length, at);
        for (std::size_t i = run; i < length; ++i) at[i] = char16_t(bytes[2 + i]);
        return length;
      });
      return;
    }
    // At most one character a byte: written in place, then cut to the length reached.
    out.resize_and_overwrite(n, [&](char16_t* start, std::size_t) {
      char16_t* at = start;
      bool compressed = true;
      std::size_t i = 2;
      while (i < n) {
        if (bytes[i] == 0x00) {
          compressed = !compressed;
          ++i;
        } else if (compressed) {
          const std::size_t run = widen_run(bytes.data() + i, n - i, at);
          if (run == 0) {
            *at++ = char16_t(bytes[i]);
            ++i;
          }
          at += run;
          i += run;
        } else {
          if (i + 1 >= n) break;  // odd trailing byte
          *at++ = char16_t(bytes[i] | (bytes[i + 1] << 8));
          i += 2;
        }
      }
      return static_cast<std::size_t>(at - start);
    });
    return;
  }
  const std::size_t length = bytes.size() / 2;
  out.resize_and_overwrite(length, [&](char16_t* at, std::size_t) {
    if constexpr (std::endian::native == std::endian::little) {
      if (length != 0) std::memcpy(at, bytes.data(), length * 2);
    } else {
      for (std::size_t k = 0; k < length; ++k) at[k] = char16_t(bytes[2 * k] | (bytes[2 * k + 1] << 8));
    }
    return length;
  });
}

std::u16string decode_jet4_text(Bytes bytes) {
  std::u16string out;
  decode_jet4_text(bytes, out);
  return out;
}

CodePageDecoder::~CodePageDecoder() = default;

void CodePageDecoder::decode(Bytes bytes, std::u16string& out) {
  if (code_page_ != 1252 && code_page_ != 0 && !is_ascii(bytes) && decode_with_system(bytes, out)) return;
  decode_cp1252(bytes, out);
}

// Other code pages (Jet3 archives made on Greek, Cyrillic or East Asian Windows).
bool CodePageDecoder::decode_with_system(Bytes bytes, std::u16string& out) {
  if (unavailable_) return false;
  if (!converter_) {
    converter_ = platform::CodePageDecoder::open(code_page_);
    if (!converter_) {
      unavailable_ = true;
      return false;
    }
  }
  out = converter_->decode(bytes.data(), bytes.size());
  return true;
}

std::u16string decode_code_page(Bytes bytes, std::uint16_t code_page) {
  CodePageDecoder decoder(code_page);
  std::u16string out;
  decoder.decode(bytes, out);
  return out;
}

}  // namespace tarvik::archive::jet
