// Writes literals, matches and the end code with their fixed codes.
#pragma once

#include <cstdint>
#include <span>

#include "codec/bit_writer.h"
#include "codec/token_encoding.h"

namespace dcl {

class TokenWriter {
public:
    TokenWriter(const TokenEncoding& encoding, std::span<const std::uint8_t> data,
                std::uint8_t* out)
        : e_(encoding), data_(data.data()), bits_(out) {}

    void literal(std::size_t pos) { put(e_.literal[data_[pos]]); }
    void match(unsigned length, unsigned distance) {
        put(e_.length[length]);
        put(length == 2 ? e_.shortDistance[distance - 1] : e_.longDistance[distance - 1]);
    }
    std::uint8_t* finish() {
        put(e_.length[codes::kEndLength]);
        return bits_.finish();
    }

private:
    void put(const BitField& f) { bits_.put(f.value, f.bits); }

    const TokenEncoding& e_;
    const std::uint8_t* data_;
    BitWriter bits_;
};

inline unsigned matchCost(const TokenEncoding& e, unsigned length, unsigned distance) {
    return e.length[length].bits +
           (length == 2 ? e.shortDistance[distance - 1].bits : e.longDistance[distance - 1].bits);
}

}  // namespace dcl
