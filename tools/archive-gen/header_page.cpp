#include "header_page.h"

#include <cmath>
#include <cstring>
#include <span>

#include "archive/jet/rc4.h"
#include "little_endian.h"

namespace tarvik::archive_gen {

namespace {

constexpr std::size_t kMaskedStart = 0x18;
constexpr std::array<std::uint8_t, 4> kMaskKey = {0xC7, 0xDA, 0x39, 0x6B};
constexpr std::size_t kJet3SortOrder = 0x3A;
constexpr std::size_t kCodePage = 0x3C;
constexpr std::size_t kEncryptionKey = 0x3E;
constexpr std::size_t kPassword = 0x42;
constexpr std::size_t kJet4PasswordLength = 40;
constexpr std::size_t kJet4SortOrder = 0x6E;
constexpr std::size_t kJet4CreationDate = 0x72;
constexpr std::uint16_t kGeneralSortOrder = 0x0409;

}  // namespace

std::vector<std::uint8_t> header_page(const WriteFormat& format, double creation_date) {
  std::vector<std::uint8_t> page(format.page_size(), 0);
  page[1] = 0x01;
  std::memcpy(&page[4], "Standard Jet DB", 16);
  page[0x14] = format.jet3() ? 0 : 1;

  store_u16(&page[kCodePage], 1252);
  store_u32(&page[kEncryptionKey], 0);
  if (format.jet3()) {
    // An empty Jet3 password is all zeros.
    store_u16(&page[kJet3SortOrder], kGeneralSortOrder);
  } else {
    // An empty password is stored XORed with the integer part of the creation date.
    std::array<std::uint8_t, 4> date_mask{};
    store_u32(date_mask.data(), static_cast<std::uint32_t>(
                                    static_cast<std::int32_t>(std::floor(creation_date))));
    for (std::size_t k = 0; k < kJet4PasswordLength; ++k) page[kPassword + k] = date_mask[k % 4];
    store_u16(&page[kJet4SortOrder], kGeneralSortOrder);
    store_f64(&page[kJet4CreationDate], creation_date);
  }

  archive::jet::rc4_apply(kMaskKey, std::span(&page[kMaskedStart], format.jet.header_mask_length));
  return page;
}

}  // namespace tarvik::archive_gen
