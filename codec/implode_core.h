// The default encoder over caller-owned memory, free of the C++ runtime's allocator and
// exceptions, so that impborl.dll can carry it without the runtime's newer Windows imports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "codec/match_finder.h"
#include "codec/token_encoding.h"

namespace dcl {

struct ImplodeWorkspace {
    TokenEncoding encoding;
    MatchFinderTables tables;
};

// 4, 5 or 6 for 1024, 2048 or 4096 bytes; 0 for any other size.
unsigned dictionaryCodeFor(unsigned dictionaryBytes);

// Room the whole stream may need: every byte a 14-bit ASCII literal, plus header, end code and
// padding.
inline std::size_t implodeBound(std::size_t inputSize) { return 2 + (inputSize * 14 + 16) / 8 + 8; }

// Writes the header, the lazily parsed tokens and the end code to out (implodeBound bytes) and
// returns the stream's size. workspace must be zeroed; input must be under 4 GiB.
std::size_t implodeLazyInto(std::span<const std::uint8_t> input, bool ascii,
                            unsigned dictionaryCode, ImplodeWorkspace& workspace,
                            std::uint8_t* out);

}  // namespace dcl
