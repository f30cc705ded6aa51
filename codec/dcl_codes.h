// The fixed prefix codes of the implode stream and the tables built from them at compile time.
//
// Every code of the format is complete and defined by its code lengths alone: symbols ordered by
// (length, index) get canonical codes which are then bit-inverted and sent most significant bit
// first. The stream is read from bit 0 of each byte upward, so each code is kept here as the
// integer its bits form when read least significant bit first; the encoder then writes it with the
// same bit writer as raw fields, and the decoder indexes a table with the next bits of the stream.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace dcl::codes {

inline constexpr unsigned kLengthClasses = 16;
inline constexpr unsigned kDistanceCodes = 64;
inline constexpr unsigned kMinMatch = 2;
inline constexpr unsigned kEndLength = 519;       // the length value that ends the stream
inline constexpr unsigned kMaxDecodedMatch = 518;  // the longest real match a stream can hold
inline constexpr unsigned kMaxEncodedMatch = 516;  // what our encoder writes at most
inline constexpr unsigned kMaxLengthCodeBits = 7;
inline constexpr unsigned kMaxDistanceCodeBits = 8;
inline constexpr unsigned kMaxLiteralCodeBits = 13;

inline constexpr std::array<std::uint8_t, kLengthClasses> kLengthCodeBits = {
    3, 2, 3, 3, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 7, 7};
inline constexpr std::array<std::uint16_t, kLengthClasses> kLengthBase = {
    2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 16, 24, 40, 72, 136, 264};
inline constexpr std::array<std::uint8_t, kLengthClasses> kLengthExtraBits = {
    0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};

inline constexpr std::array<std::uint8_t, kDistanceCodes> kDistanceCodeBits = [] {
    std::array<std::uint8_t, kDistanceCodes> bits{};
    for (unsigned i = 0; i < kDistanceCodes; ++i) {
        bits[i] = i == 0 ? 2 : i <= 2 ? 4 : i <= 6 ? 5 : i <= 21 ? 6 : i <= 47 ? 7 : 8;
    }
    return bits;
}();

// Code lengths of the ASCII-mode literal code, by byte value.
inline constexpr std::array<std::uint8_t, 256> kLiteralCodeBits = {
    11, 12, 12, 12, 12, 12, 12, 12, 12, 8,  7,  12, 12, 7,  12, 12,  // 00
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 13, 12, 12, 12, 12, 12,  // 10
    4,  10, 8,  12, 10, 12, 10, 8,  7,  7,  8,  9,  7,  6,  7,  8,   // 20
    7,  6,  7,  7,  7,  7,  8,  7,  7,  8,  8,  12, 11, 7,  9,  11,  // 30
    12, 6,  7,  6,  6,  5,  7,  8,  8,  6,  11, 9,  6,  7,  6,  6,   // 40
    7,  11, 6,  6,  6,  7,  9,  8,  9,  9,  11, 8,  11, 9,  12, 8,   // 50
    12, 5,  6,  6,  6,  5,  6,  6,  6,  5,  11, 7,  5,  6,  5,  5,   // 60
    6,  10, 5,  5,  5,  5,  8,  7,  8,  8,  10, 11, 11, 12, 12, 12,  // 70
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  // 80
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  // 90
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  // A0
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  // B0
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  // C0
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  // D0
    13, 12, 13, 13, 13, 12, 13, 13, 13, 12, 13, 13, 13, 13, 12, 13,  // E0
    13, 13, 12, 12, 12, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  // F0
};

// The stream-order code of each symbol, as an integer read least significant bit first.
template <std::size_t N>
constexpr std::array<std::uint16_t, N> buildCodes(const std::array<std::uint8_t, N>& lengths) {
    std::array<std::uint16_t, N> codes{};
    unsigned code = 0;
    unsigned previousLength = 0;
    for (unsigned length = 1; length <= 16; ++length) {
        for (std::size_t symbol = 0; symbol < N; ++symbol) {
            if (lengths[symbol] != length) continue;
            if (previousLength != 0) {
                code = (code + 1) << (length - previousLength);
            }
            previousLength = length;
            const unsigned inverted = ~code & ((1u << length) - 1);
            unsigned reversed = 0;
            for (unsigned bit = 0; bit < length; ++bit) {
                reversed |= ((inverted >> bit) & 1u) << (length - 1 - bit);
            }
            codes[symbol] = static_cast<std::uint16_t>(reversed);
        }
    }
    return codes;
}

inline constexpr auto kLengthCodes = buildCodes(kLengthCodeBits);
inline constexpr auto kDistanceCodesLsb = buildCodes(kDistanceCodeBits);
inline constexpr auto kLiteralCodes = buildCodes(kLiteralCodeBits);

// One-level decode table for a code of at most `Bits` bits: entry = symbol | length << 8.
template <unsigned Bits, std::size_t N>
constexpr std::array<std::uint16_t, 1u << Bits> buildDecodeTable(
    const std::array<std::uint8_t, N>& lengths, const std::array<std::uint16_t, N>& codes) {
    std::array<std::uint16_t, 1u << Bits> table{};
    for (std::size_t symbol = 0; symbol < N; ++symbol) {
        for (unsigned fill = codes[symbol]; fill < (1u << Bits); fill += 1u << lengths[symbol]) {
            table[fill] = static_cast<std::uint16_t>(symbol | lengths[symbol] << 8);
        }
    }
    return table;
}

inline constexpr auto kLengthDecode =
    buildDecodeTable<kMaxLengthCodeBits>(kLengthCodeBits, kLengthCodes);
inline constexpr auto kDistanceDecode =
    buildDecodeTable<kMaxDistanceCodeBits>(kDistanceCodeBits, kDistanceCodesLsb);

// ASCII literals take up to 13 bits: a 13-bit table would spread the common short codes over
// 16 KiB, so short codes resolve in a 256-entry first level and the rare long ones in small
// second-level tables of 32 entries. First-level entry: symbol | length << 8 for codes of up to
// 8 bits, otherwise kLiteralSubtableFlag | subtable index. Second-level entry: symbol | length << 8
// with the full code length.
inline constexpr unsigned kLiteralRootBits = 8;
inline constexpr unsigned kLiteralSubBits = kMaxLiteralCodeBits - kLiteralRootBits;
inline constexpr std::uint16_t kLiteralSubtableFlag = 0x8000;

constexpr unsigned countLiteralSubtables() {
    std::array<bool, 256> needed{};
    for (unsigned symbol = 0; symbol < 256; ++symbol) {
        if (kLiteralCodeBits[symbol] > kLiteralRootBits) {
            needed[kLiteralCodes[symbol] & 0xFF] = true;
        }
    }
    unsigned count = 0;
    for (bool n : needed) count += n ? 1 : 0;
    return count;
}

inline constexpr unsigned kLiteralSubtables = countLiteralSubtables();

struct LiteralDecodeTables {
    std::array<std::uint16_t, 1u << kLiteralRootBits> root{};
    std::array<std::uint16_t, kLiteralSubtables << kLiteralSubBits> sub{};
};

inline constexpr LiteralDecodeTables kLiteralDecode = [] {
    LiteralDecodeTables t{};
    std::array<int, 256> subOf{};
    for (int& s : subOf) s = -1;
    unsigned next = 0;
    for (unsigned symbol = 0; symbol < 256; ++symbol) {
        const unsigned length = kLiteralCodeBits[symbol];
        const unsigned code = kLiteralCodes[symbol];
        const auto entry = static_cast<std::uint16_t>(symbol | length << 8);
        if (length <= kLiteralRootBits) {
            for (unsigned fill = code; fill < 256; fill += 1u << length) t.root[fill] = entry;
            continue;
        }
        const unsigned prefix = code & 0xFF;
        if (subOf[prefix] < 0) {
            subOf[prefix] = static_cast<int>(next++);
            t.root[prefix] = static_cast<std::uint16_t>(kLiteralSubtableFlag | subOf[prefix]);
        }
        const unsigned base = static_cast<unsigned>(subOf[prefix]) << kLiteralSubBits;
        const unsigned rest = code >> kLiteralRootBits;
        const unsigned restLength = length - kLiteralRootBits;
        for (unsigned fill = rest; fill < (1u << kLiteralSubBits); fill += 1u << restLength) {
            t.sub[base + fill] = entry;
        }
    }
    return t;
}();

}  // namespace dcl::codes
