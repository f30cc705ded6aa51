// Ready-made bit patterns and bit costs of every token the encoder may write: with fixed codes,
// a literal or a (length, distance) pair always costs the same, so costs are exact, not estimates.
#pragma once

#include <array>
#include <cstdint>

#include "codec/dcl_codes.h"

namespace dcl {

struct BitField {
    std::uint32_t value;
    std::uint8_t bits;
};

struct TokenEncoding {
    // Flag bit and literal, by byte value.
    std::array<BitField, 256> literal;
    // Flag bit, length code and extra bits, by match length (0 and 1 unused; 519 is the end code).
    std::array<BitField, codes::kEndLength + 1> length;
    // Distance code and low bits, by distance - 1: for length 2 (up to 256), for longer matches.
    std::array<BitField, 256> shortDistance;
    std::array<BitField, 4096> longDistance;
    unsigned dictionaryCode;
    unsigned maxDistance;
};

inline void initTokenEncoding(TokenEncoding& e, bool ascii, unsigned dictionaryCode) {
    using namespace codes;
    e.dictionaryCode = dictionaryCode;
    e.maxDistance = 64u << dictionaryCode;
    for (unsigned b = 0; b < 256; ++b) {
        e.literal[b] = ascii ? BitField{static_cast<std::uint32_t>(kLiteralCodes[b]) << 1,
                                        static_cast<std::uint8_t>(kLiteralCodeBits[b] + 1)}
                             : BitField{b << 1, 9};
    }
    for (unsigned cls = 0; cls < kLengthClasses; ++cls) {
        const unsigned codeBits = kLengthCodeBits[cls];
        for (unsigned extra = 0; extra < (1u << kLengthExtraBits[cls]); ++extra) {
            const unsigned length = kLengthBase[cls] + extra;
            e.length[length] = BitField{
                1u | static_cast<std::uint32_t>(kLengthCodes[cls]) << 1 | extra << (1 + codeBits),
                static_cast<std::uint8_t>(1 + codeBits + kLengthExtraBits[cls])};
        }
    }
    auto distanceField = [](unsigned distanceMinusOne, unsigned lowBits) {
        const unsigned high = distanceMinusOne >> lowBits;
        const unsigned low = distanceMinusOne & ((1u << lowBits) - 1);
        return BitField{kDistanceCodesLsb[high] | low << kDistanceCodeBits[high],
                        static_cast<std::uint8_t>(kDistanceCodeBits[high] + lowBits)};
    };
    for (unsigned d = 0; d < 256; ++d) e.shortDistance[d] = distanceField(d, 2);
    for (unsigned d = 0; d < e.maxDistance; ++d) {
        e.longDistance[d] = distanceField(d, dictionaryCode);
    }
}

}  // namespace dcl
