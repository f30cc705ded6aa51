#include "codec/explode_stream.h"

#include <bit>
#include <cstring>

#include "codec/dcl_codes.h"

namespace dcl {
namespace {

using namespace codes;

// Room after the write position: one longest match plus the overshoot of the chunked copies.
constexpr std::size_t kCopySlack = 16;
constexpr std::size_t kFlushThreshold =
    ExplodeState::kWindowBytes - kMaxDecodedMatch - kCopySlack;
static_assert(kFlushThreshold >= ExplodeState::kHistoryBytes + 4096,
              "each flush should pass on a few KiB at least");

inline std::uint64_t loadLittleEndian64(const std::uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t value;
        std::memcpy(&value, p, sizeof value);
        return value;
    } else {
        std::uint64_t value = 0;
        for (int i = 7; i >= 0; --i) value = value << 8 | p[i];
        return value;
    }
}

// Copies length bytes from distance back; the regions may overlap (distance 1 repeats a byte).
// May write up to kCopySlack bytes past the end of the match.
inline void copyMatch(std::uint8_t* out, std::size_t distance, unsigned length) {
    const std::uint8_t* from = out - distance;
    if (distance >= 8) {
        for (unsigned i = 0; i < length; i += 8) std::memcpy(out + i, from + i, 8);
        return;
    }
    if (distance == 1) {
        std::memset(out, out[-1], length);
        return;
    }
    // out[i] == out[i - stride] holds for every multiple of distance, so once 16 bytes are in
    // place the rest can move 8 bytes at a time from a multiple of at least 8.
    for (unsigned i = 0; i < 16; ++i) out[i] = from[i];
    const unsigned stride = static_cast<unsigned>(distance) * ((8 + distance - 1) / distance);
    for (unsigned i = 16; i < length; i += 8) std::memcpy(out + i, out + i - stride, 8);
}

}  // namespace

Status explodeStream(ExplodeState& state, const ExplodeIo& io) {
    const std::uint8_t* in = state.input;
    const std::uint8_t* inEnd = state.input;
    bool inputEnded = false;
    std::uint64_t bits = 0;
    int count = 0;  // goes below zero only when a token needed more bits than the stream had

    auto fetch = [&]() -> bool {
        if (inputEnded) return false;
        std::size_t got = io.read(state.input, ExplodeState::kInputBytes, io.context);
        if (got == 0) {
            inputEnded = true;
            return false;
        }
        if (got > ExplodeState::kInputBytes) got = ExplodeState::kInputBytes;
        in = state.input;
        inEnd = in + got;
        return true;
    };
    // After a refill there are at least 56 bits unless the input ended; missing bits read as 0.
    auto refillSlowly = [&]() {
        while (count <= 56) {
            if (in == inEnd && !fetch()) return;
            bits |= static_cast<std::uint64_t>(*in++) << count;
            count += 8;
        }
    };
    auto refill = [&]() {
        if (inEnd - in >= 8) {
            bits |= loadLittleEndian64(in) << count;
            in += (63 - count) >> 3;
            count |= 56;
        } else {
            refillSlowly();
        }
    };
    auto consume = [&](unsigned n) {
        bits >>= n;
        count -= static_cast<int>(n);
    };

    refillSlowly();
    if (count < 16) return Status::TruncatedData;
    const unsigned mode = bits & 0xFF;
    const unsigned dictionaryCode = (bits >> 8) & 0xFF;
    if (mode > 1 || dictionaryCode < 4 || dictionaryCode > 6) return Status::BadHeader;
    consume(16);
    const bool ascii = mode == 1;
    const unsigned lowBitsLong = dictionaryCode;
    const std::uint64_t lowMaskLong = (1u << dictionaryCode) - 1;

    std::uint8_t* const window = state.window;
    std::uint8_t* out = window;
    std::uint8_t* pending = window;  // first byte not yet handed to the write callback
    std::uint8_t* const flushAt = window + kFlushThreshold;

    auto writePending = [&]() -> bool {
        const std::size_t size = static_cast<std::size_t>(out - pending);
        pending = out;
        return size == 0 || io.write(pending - size, size, io.context);
    };
    auto finish = [&](Status status) {
        return writePending() ? status : Status::OutputFull;
    };

    for (;;) {
        if (out >= flushAt) {
            if (!writePending()) return Status::OutputFull;
            std::memmove(window, out - ExplodeState::kHistoryBytes, ExplodeState::kHistoryBytes);
            out = window + ExplodeState::kHistoryBytes;
            pending = out;
        }
        refill();
        if ((bits & 1) == 0) {
            unsigned literal;
            if (!ascii) {
                literal = (bits >> 1) & 0xFF;
                consume(9);
            } else {
                unsigned entry = kLiteralDecode.root[(bits >> 1) & 0xFF];
                if (entry & kLiteralSubtableFlag) {
                    entry = kLiteralDecode.sub[(entry & ~kLiteralSubtableFlag) << kLiteralSubBits |
                                               ((bits >> (1 + kLiteralRootBits)) &
                                                ((1u << kLiteralSubBits) - 1))];
                }
                literal = entry & 0xFF;
                consume(1 + (entry >> 8));
            }
            if (count < 0) return finish(Status::TruncatedData);
            *out++ = static_cast<std::uint8_t>(literal);
            continue;
        }

        const unsigned lengthEntry = kLengthDecode[(bits >> 1) & 0x7F];
        const unsigned lengthClass = lengthEntry & 0xFF;
        consume(1 + (lengthEntry >> 8));
        const unsigned extraBits = kLengthExtraBits[lengthClass];
        const unsigned length =
            kLengthBase[lengthClass] + static_cast<unsigned>(bits & ((1u << extraBits) - 1));
        consume(extraBits);
        if (length == kEndLength) {
            return finish(count < 0 ? Status::TruncatedData : Status::Ok);
        }
        const unsigned distanceEntry = kDistanceDecode[bits & 0xFF];
        consume(distanceEntry >> 8);
        const unsigned lowBits = length == 2 ? 2 : lowBitsLong;
        const std::uint64_t lowMask = length == 2 ? 3 : lowMaskLong;
        const std::size_t distance =
            (((distanceEntry & 0xFF) << lowBits) | static_cast<unsigned>(bits & lowMask)) + 1;
        consume(lowBits);
        if (count < 0) return finish(Status::TruncatedData);
        if (distance > static_cast<std::size_t>(out - window)) {
            return finish(Status::CorruptData);
        }
        copyMatch(out, distance, length);
        out += length;
    }
}

}  // namespace dcl
