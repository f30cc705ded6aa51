// Whole-buffer explode on top of the streaming core.
#include <algorithm>
#include <cstring>
#include <memory>

#include "codec/dcl.h"
#include "codec/explode_stream.h"

namespace dcl {
namespace {

struct BufferIo {
    std::span<const std::uint8_t> input;
    std::size_t inputPosition = 0;
    std::vector<std::uint8_t>* output = nullptr;
    std::size_t room = 0;  // how many more bytes the caller accepts
};

std::size_t readFromSpan(std::uint8_t* buffer, std::size_t capacity, void* context) {
    auto& io = *static_cast<BufferIo*>(context);
    const std::size_t n = std::min(capacity, io.input.size() - io.inputPosition);
    if (n != 0) std::memcpy(buffer, io.input.data() + io.inputPosition, n);
    io.inputPosition += n;
    return n;
}

bool appendToVector(const std::uint8_t* buffer, std::size_t size, void* context) {
    auto& io = *static_cast<BufferIo*>(context);
    const std::size_t taken = std::min(size, io.room);
    io.output->insert(io.output->end(), buffer, buffer + taken);
    io.room -= taken;
    return taken == size;
}

}  // namespace

Status explode(std::span<const std::uint8_t> input, std::vector<std::uint8_t>& output,
               std::size_t maxOutput) {
    BufferIo io{input, 0, &output, maxOutput};
    auto state = std::make_unique<ExplodeState>();
    return explodeStream(*state, ExplodeIo{readFromSpan, appendToVector, &io});
}

}  // namespace dcl
