#include "tests/tool/synthetic_pe.h"

#include <cstring>

namespace {

void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> makeSyntheticPe(const SyntheticPeOptions& options) {
    const std::size_t peAt = 0x80;
    const std::uint16_t optionalSize = options.pe32Plus ? 240 : 224;
    const int sections = 1 + options.sizeSectionCount;
    const std::size_t tableAt = peAt + 4 + 20 + optionalSize;
    const std::size_t textAt = 0x400;
    std::vector<std::uint8_t> b(textAt + 0x200 + options.sizeSectionRawSize * 2, 0);
    b[0] = 'M';
    b[1] = 'Z';
    put32(b, 0x3C, peAt);
    std::memcpy(&b[peAt], "PE\0\0", 4);
    put16(b, peAt + 4, options.pe32Plus ? 0x8664 : 0x14C);
    put16(b, peAt + 6, static_cast<std::uint16_t>(sections));
    put16(b, peAt + 20, optionalSize);
    put16(b, peAt + 24, options.pe32Plus ? 0x20B : 0x10B);

    auto section = [&](int index, const std::string& name, std::uint32_t rawAt,
                       std::uint32_t rawSize) {
        const std::size_t at = tableAt + 40 * index;
        std::memcpy(&b[at], name.data(), std::min<std::size_t>(name.size(), 8));
        put32(b, at + 8, 4);                      // VirtualSize
        put32(b, at + 12, 0x1000 * (index + 1));  // VirtualAddress
        put32(b, at + 16, rawSize);
        put32(b, at + 20, rawAt);
    };
    section(0, ".text", textAt, 0x200);
    std::memset(&b[textAt], 0xC3, 0x200);
    for (int i = 0; i < options.sizeSectionCount; ++i) {
        const std::uint32_t rawAt =
            static_cast<std::uint32_t>(textAt + 0x200 + i * options.sizeSectionRawSize);
        section(1 + i, options.sizeSectionName, rawAt, options.sizeSectionRawSize);
        if (options.sizeSectionRawSize >= 4) put32(b, rawAt, 0x7FFFFFFF);
    }
    return b;
}
