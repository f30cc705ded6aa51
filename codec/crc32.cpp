#include "codec/crc32.h"

#include <array>

namespace dcl {
namespace {

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}();

}  // namespace

std::uint32_t crc32Update(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    for (std::size_t i = 0; i < size; ++i) crc = kCrcTable[(data[i] ^ crc) & 0xFF] ^ (crc >> 8);
    return crc;
}

}  // namespace dcl
