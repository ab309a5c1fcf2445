#include "header_page.h"

#include <cmath>
#include <cstring>

#include "archive/jet/rc4.h"
#include "little_endian.h"

namespace tarvik::archive_gen {

namespace {

constexpr std::size_t kMaskedStart = 0x18;
constexpr std::size_t kMaskedLength = 128;
constexpr std::array<std::uint8_t, 4> kMaskKey = {0xC7, 0xDA, 0x39, 0x6B};
constexpr std::size_t kCodePage = 0x3C;
constexpr std::size_t kEncryptionKey = 0x3E;
constexpr std::size_t kPassword = 0x42;
constexpr std::size_t kPasswordLength = 40;
constexpr std::size_t kSortOrder = 0x6E;
constexpr std::size_t kCreationDate = 0x72;

}  // namespace

std::array<std::uint8_t, kPageSize> header_page(double creation_date) {
  std::array<std::uint8_t, kPageSize> page{};
  page[1] = 0x01;
  std::memcpy(&page[4], "Standard Jet DB", 16);
  page[0x14] = 1;  // Jet4

  store_u16(&page[kCodePage], 1252);
  store_u32(&page[kEncryptionKey], 0);
  // An empty password is stored XORed with the integer part of the creation date.
  std::array<std::uint8_t, 4> date_mask{};
  store_u32(date_mask.data(), static_cast<std::uint32_t>(
                                  static_cast<std::int32_t>(std::floor(creation_date))));
  for (std::size_t k = 0; k < kPasswordLength; ++k) page[kPassword + k] = date_mask[k % 4];
  store_u16(&page[kSortOrder], 0x0409);
  store_f64(&page[kCreationDate], creation_date);

  archive::jet::rc4_apply(kMaskKey, std::span(&page[kMaskedStart], kMaskedLength));
  return page;
}

}  // namespace tarvik::archive_gen
