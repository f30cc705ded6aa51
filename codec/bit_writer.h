// Appends bit fields to a byte buffer, least significant bit first, as the implode stream wants.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dcl {

class BitWriter {
public:
    // The caller guarantees room for every byte written (the encoder sizes for the worst case).
    explicit BitWriter(std::uint8_t* out) : out_(out) {}

    // Up to 32 bits at once.
    void put(std::uint32_t value, unsigned bits) {
        accumulator_ |= static_cast<std::uint64_t>(value) << pending_;
        pending_ += bits;
        if (pending_ >= 32) {
            for (int i = 0; i < 4; ++i) *out_++ = static_cast<std::uint8_t>(accumulator_ >> (8 * i));
            accumulator_ >>= 32;
            pending_ -= 32;
        }
    }

    // Pads with zero bits to a byte boundary; returns one past the last byte written.
    std::uint8_t* finish() {
        while (pending_ > 0) {
            *out_++ = static_cast<std::uint8_t>(accumulator_);
            accumulator_ >>= 8;
            pending_ = pending_ > 8 ? pending_ - 8 : 0;
        }
        return out_;
    }

private:
    std::uint8_t* out_;
    std::uint64_t accumulator_ = 0;
    unsigned pending_ = 0;
};

}  // namespace dcl
