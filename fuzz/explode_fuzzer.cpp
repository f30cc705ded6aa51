// libFuzzer target: explode arbitrary bytes, whole-buffer and through the streaming core in
// exactly the classic work area with small reads. Any out-of-bounds access (ASan), hang (the
// -timeout option) or broken invariant aborts.
//
// Run it for longer than the CTest smoke run (see fuzz/CMakeLists.txt), e.g. an hour:
//   cmake --preset fuzz -B build/fuzz && cmake --build build/fuzz
//   build/fuzz/fuzz/explode_fuzzer -max_total_time=3600 -timeout=10 \
//       build/fuzz/fuzz/explode_corpus build/fuzz/fuzz/seeds
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "codec/dcl.h"
#include "codec/explode_stream.h"

namespace {

struct ChunkedIo {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
    std::size_t chunk;
    std::size_t written;
    std::size_t limit;
};

std::size_t readChunk(std::uint8_t* buffer, std::size_t capacity, void* context) {
    auto& io = *static_cast<ChunkedIo*>(context);
    std::size_t n = io.size - io.position;
    if (n > io.chunk) n = io.chunk;
    if (n > capacity) n = capacity;
    std::memcpy(buffer, io.data + io.position, n);
    io.position += n;
    return n;
}

bool countWrite(const std::uint8_t* buffer, std::size_t size, void* context) {
    auto& io = *static_cast<ChunkedIo*>(context);
    // Touch every byte handed out, so ASan checks they lie inside the work area.
    volatile std::uint8_t sink = 0;
    for (std::size_t i = 0; i < size; ++i) sink = sink ^ buffer[i];
    if (io.written + size > io.limit) return false;
    io.written += size;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kLimit = 1 << 20;
    std::vector<std::uint8_t> whole;
    const dcl::Status wholeStatus = dcl::explode({data, size}, whole, kLimit);
    if (whole.size() > kLimit) std::abort();

    auto area = std::make_unique<std::uint8_t[]>(dcl::kExplodeWorkAreaBytes);
    auto* state = new (area.get()) dcl::ExplodeState;
    const std::size_t chunk = size == 0 ? 1 : 1 + data[size - 1] % 7u;
    ChunkedIo io{data, size, 0, chunk, 0, kLimit};
    const dcl::Status streamStatus = dcl::explodeStream(*state, {readChunk, countWrite, &io});

    // How the input is delivered must not change the outcome.
    if (streamStatus != wholeStatus || io.written != whole.size()) std::abort();
    return 0;
}
