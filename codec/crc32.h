// The reflected CRC-32 (polynomial 0xEDB88320, as in IEEE 802.3 and zlib), one step at a time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dcl {

// crc := table[(b ^ crc) & 0xFF] ^ (crc >> 8) for each byte, without the initial and final
// inversion: callers start from 0xFFFFFFFF and invert the result for the usual CRC-32.
std::uint32_t crc32Update(const std::uint8_t* data, std::size_t size, std::uint32_t crc);

}  // namespace dcl
