// Temporary stand-in for the codec library until its target exists: literal-only implode and
// an explode that understands exactly that. Removed once `dcl` builds.
#include "codec/dcl.h"

namespace dcl {

std::vector<std::uint8_t> implode(std::span<const std::uint8_t> input, const ImplodeOptions& o) {
    std::vector<std::uint8_t> out{0, static_cast<std::uint8_t>(o.dictionaryBytes == 1024   ? 4
                                                               : o.dictionaryBytes == 2048 ? 5
                                                                                           : 6)};
    std::uint32_t acc = 0;
    int bits = 0;
    auto put = [&](std::uint32_t value, int count) {
        acc |= value << bits;
        bits += count;
        while (bits >= 8) {
            out.push_back(static_cast<std::uint8_t>(acc));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (std::uint8_t b : input) {
        put(0, 1);
        put(b, 8);
    }
    put(1, 1);
    put(0, 7);
    put(0xFF, 8);
    if (bits > 0) out.push_back(static_cast<std::uint8_t>(acc));
    return out;
}

Status explode(std::span<const std::uint8_t> input, std::vector<std::uint8_t>& output,
               std::size_t maxOutput) {
    if (input.size() < 2 || input[0] != 0 || input[1] < 4 || input[1] > 6) return Status::BadHeader;
    std::size_t bit = 16;
    auto get = [&](int count, std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < count; ++i, ++bit) {
            if (bit / 8 >= input.size()) return false;
            value |= ((input[bit / 8] >> (bit % 8)) & 1u) << i;
        }
        return true;
    };
    std::size_t written = 0;
    while (true) {
        std::uint32_t flag, value;
        if (!get(1, flag)) return Status::TruncatedData;
        if (flag == 0) {
            if (!get(8, value)) return Status::TruncatedData;
            if (written >= maxOutput) return Status::OutputFull;
            output.push_back(static_cast<std::uint8_t>(value));
            ++written;
            continue;
        }
        if (!get(7, value)) return Status::TruncatedData;
        if (value != 0) return Status::CorruptData;
        if (!get(8, value)) return Status::TruncatedData;
        return value == 0xFF ? Status::Ok : Status::CorruptData;
    }
}

}  // namespace dcl
