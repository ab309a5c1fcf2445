#include "transfer/windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/utf8.h"
#include "common/windows1252.h"

namespace tarvik::transfer {

namespace {

constexpr char kReplacement = '?';

// The byte of every unit below 0x100, 0 where the code page has none: Latin-1's code points stand
// for themselves, but of 0x80-0x9F (C1 controls the code page lacks) only the five bytes it leaves
// undefined.
constexpr std::array<char, 256> kLatin1 = [] {
  std::array<char, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<char>(std::max(windows1252_byte(static_cast<char16_t>(c)), 0));
  return t;
}();

// The byte for a code point above Latin-1, or 0 when the code page has none.
char byte_above_latin1(char16_t c) { return static_cast<char>(std::max(windows1252_byte(c), 0)); }

bool is_removed_control(char16_t u) { return u < 32 && u != u'\t'; }

// The byte of one character that is not ASCII and not a surrogate.
char byte_of(char16_t u, TextOutcome& outcome) {
  const char b = u < 0x100 ? kLatin1[u] : byte_above_latin1(u);
  if (b != 0) return b;
  outcome.replaced = true;
  return kReplacement;
}

// How many units from the start of `text` (of `n`) stand for their own byte, taken eight at a
// time and written to `at`: printable ASCII, 0x20 to 0x7F (any ASCII when not `clean`), and
// Latin-1's upper half, 0xA0 to 0xFF, where Windows-1252 agrees with Unicode. Most of an
// archive's text is such runs, accented Italian letters included, and their bytes are the same
// whether or not the text is cleaned.
template <bool clean>
std::size_t own_byte_run(const char16_t* text, std::size_t n, char* at) {
  std::size_t i = 0;
#if defined(__SSE2__)
  // Compared as signed: a unit from 0x8000 up is negative, so it fails both lower bounds.
  const __m128i below = _mm_set1_epi16(clean ? 0x1F : -1), above = _mm_set1_epi16(0x80);
  const __m128i below_upper = _mm_set1_epi16(0x9F), above_upper = _mm_set1_epi16(0x100);
  for (; i + 8 <= n; i += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const __m128i ascii = _mm_and_si128(_mm_cmpgt_epi16(units, below), _mm_cmplt_epi16(units, above));
    const __m128i upper = _mm_and_si128(_mm_cmpgt_epi16(units, below_upper), _mm_cmplt_epi16(units, above_upper));
    if (_mm_movemask_epi8(_mm_or_si128(ascii, upper)) != 0xFFFF) break;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at + i), _mm_packus_epi16(units, units));
  }
#else
  (void)text, (void)n, (void)at;
#endif
  return i;
}

// Writes `text` into `out` from `at`, leaving out control characters when `clean`; returns the end.
template <bool clean>
char* convert(char* at, std::u16string_view text, TextOutcome& outcome) {
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t run = own_byte_run<clean>(text.data() + i, n - i, at);
    at += run;
    i += run;
    if (i == n) break;
    const char16_t u = text[i];
    if (u < 0x80) {
      if (clean && is_removed_control(u)) {
        outcome.removed_controls = true;
        continue;
      }
      *at++ = static_cast<char>(u);
    } else if (is_high_surrogate(u) || is_low_surrogate(u)) {
      // A pair is a character outside the code page; either way one "?". In a cleaned text the
      // pair's halves may stand apart with control characters between them.
      if (is_high_surrogate(u)) {
        std::size_t j = i + 1;
        if (clean) {
          while (j < n && is_removed_control(text[j])) ++j;
        }
        if (j < n && is_low_surrogate(text[j])) {
          if (j > i + 1) outcome.removed_controls = true;
          i = j;
        }
      }
      outcome.replaced = true;
      *at++ = kReplacement;
    } else {
      *at++ = byte_of(u, outcome);
    }
  }
  return at;
}

template <bool clean>
TextOutcome append(std::string& out, std::u16string_view text) {
  TextOutcome outcome;
  const std::size_t start = out.size();
  // One byte a code unit at most, written straight into the string's room.
  out.resize_and_overwrite(start + text.size(), [&](char* data, std::size_t) {
    return static_cast<std::size_t>(convert<clean>(data + start, text, outcome) - data);
  });
  return outcome;
}

}  // namespace

TextOutcome append_windows1252(std::string& out, std::u16string_view text) {
  return append<false>(out, text);
}

TextOutcome append_windows1252_cleaned(std::string& out, std::u16string_view text) {
  return append<true>(out, text);
}

// True when the writer puts the unit's own byte, not "?", in the file.
bool InWindows1252(char16_t unit) {
  if (unit < 0x100) return unit == 0 || kLatin1[unit] != 0;
  return byte_above_latin1(unit) != 0;
}

// The program's own texts are short (block names, "T", "F"): one conversion through UTF-16 keeps
// a single mapping to the code page. A malformed byte becomes U+FFFD, and so "?".
void append_windows1252_utf8(std::string& out, std::string_view text) {
  append_windows1252(out, tarvik::utf8_to_utf16(text));
}

}  // namespace tarvik::transfer
