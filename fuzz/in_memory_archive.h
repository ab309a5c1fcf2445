// A minimal Jet file in memory for the decoder targets: a header page that the reader accepts
// (Jet3 or Jet4, not encrypted, in the code page asked for), an empty page 1, a table-definition page 2 where
// the reader looks for the catalog, then the pages the fuzzer supplies from page 3 on. Long values
// read through it follow row pointers into those pages only.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "archive/jet/format.h"
#include "archive/jet/rc4.h"

namespace tarvik::fuzz {

inline constexpr std::uint32_t kFirstFuzzPage = 3;

// The first three pages, which depend only on the format and the code page.
inline std::vector<std::uint8_t> make_archive_prefix(bool jet3, std::uint16_t code_page) {
  const archive::jet::Format& format = jet3 ? archive::jet::jet3_format() : archive::jet::jet4_format();
  const std::size_t page_size = format.page_size;
  std::vector<std::uint8_t> file(kFirstFuzzPage * page_size, 0);

  static constexpr std::uint8_t kMagic[4] = {0x00, 0x01, 0x00, 0x00};
  static constexpr char kEngine[] = "Standard Jet DB";
  std::memcpy(file.data(), kMagic, 4);
  std::memcpy(file.data() + 0x04, kEngine, 15);
  file[0x14] = jet3 ? 0 : 1;
  // The header region from 0x18 is stored masked: plain zeros (no key, no password, creation date
  // 0) but the code page, XORed with the fixed RC4 keystream the reader removes.
  constexpr std::size_t kMaskStart = 0x18, kCodePage = 0x3C;
  std::span<std::uint8_t> region(file.data() + kMaskStart, format.header_mask_length);
  region[kCodePage - kMaskStart] = code_page & 0xFF;
  region[kCodePage - kMaskStart + 1] = code_page >> 8;
  static constexpr std::array<std::uint8_t, 4> kHeaderMaskKey = {0xC7, 0xDA, 0x39, 0x6B};
  archive::jet::rc4_apply(kHeaderMaskKey, region);

  file[2 * page_size] = 0x02;  // page 2: a table definition, as the catalog's page must be
  return file;
}

// The prefix is made once per format and code page: a fuzz run spends its time on the input only.
inline std::vector<std::uint8_t> make_in_memory_archive(bool jet3, std::uint16_t code_page,
                                                        std::span<const std::uint8_t> pages) {
  static std::map<std::pair<bool, std::uint16_t>, std::vector<std::uint8_t>> prefixes;
  auto found = prefixes.find({jet3, code_page});
  if (found == prefixes.end())
    found = prefixes.emplace(std::pair{jet3, code_page}, make_archive_prefix(jet3, code_page)).first;
  std::vector<std::uint8_t> file;
  file.reserve(found->second.size() + pages.size());
  file.insert(file.end(), found->second.begin(), found->second.end());
  file.insert(file.end(), pages.begin(), pages.end());
  return file;
}

// Reads the fuzzer's bytes front to back; past the end every read gives zeros, so any input
// decodes to some layout and the fuzzer never wastes runs on inputs that are merely short.
class InputCursor {
 public:
  explicit InputCursor(std::span<const std::uint8_t> data) : data_(data) {}

  std::uint8_t u8() { return pos_ < data_.size() ? data_[pos_++] : 0; }
  std::uint16_t u16() {
    std::uint16_t low = u8();
    return static_cast<std::uint16_t>(low | (u8() << 8));
  }
  // Up to `size` bytes, fewer when the input ends first.
  std::span<const std::uint8_t> bytes(std::size_t size) {
    std::size_t take = std::min(size, remaining());
    std::span<const std::uint8_t> out = data_.subspan(pos_, take);
    pos_ += take;
    return out;
  }
  std::span<const std::uint8_t> rest() { return bytes(remaining()); }
  std::size_t remaining() const { return data_.size() - pos_; }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

}  // namespace tarvik::fuzz
