// Streaming explode: pulls the imploded stream through a read callback and pushes the exploded
// bytes through a write callback, working only inside a caller-supplied work area.
//
// The work area has the classic size of 12,596 bytes on 32- and 64-bit builds alike and holds only
// byte buffers, so any address will do (no alignment). Nothing is allocated; the decode tables are
// constant data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "codec/dcl.h"

namespace dcl {

inline constexpr std::size_t kExplodeWorkAreaBytes = 12596;

struct ExplodeIo {
    // Fills buffer with up to capacity bytes and returns how many it gave; 0 means the input ended.
    std::size_t (*read)(std::uint8_t* buffer, std::size_t capacity, void* context);
    // Takes size exploded bytes. Returning false stops the explode with Status::OutputFull.
    bool (*write)(const std::uint8_t* buffer, std::size_t size, void* context);
    void* context;
};

// The whole state of one explode. The window keeps the last 4096 bytes of output (the longest
// distance the format can express) followed by a stretch of new output that goes to the write
// callback in one piece, plus room for one longest match and the 8-byte copy overshoot.
struct ExplodeState {
    static constexpr std::size_t kInputBytes = 2048;
    static constexpr std::size_t kHistoryBytes = 4096;
    static constexpr std::size_t kWindowBytes = kExplodeWorkAreaBytes - kInputBytes;

    std::uint8_t input[kInputBytes];
    std::uint8_t window[kWindowBytes];
};

static_assert(sizeof(ExplodeState) <= kExplodeWorkAreaBytes);
static_assert(alignof(ExplodeState) == 1, "the work area may come at any address");

// Explodes one whole stream. Results:
//   Ok            the end code was reached and every byte before it was written;
//   BadHeader     the first two bytes are not a literal mode (0, 1) and a dictionary code (4-6);
//   CorruptData   a distance reaches before the start of the output;
//   TruncatedData the input ended before the end code;
//   OutputFull    the write callback refused bytes.
// On an error, output written before it stays written.
Status explodeStream(ExplodeState& state, const ExplodeIo& io);

}  // namespace dcl
