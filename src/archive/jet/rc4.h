// RC4, the stream cipher Jet uses to mask the header and to encrypt pages.
#pragma once

#include <cstdint>
#include <span>

namespace tarvik::archive::jet {

// XORs `data` in place with the RC4 keystream of `key`.
void rc4_apply(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);

}  // namespace tarvik::archive::jet
