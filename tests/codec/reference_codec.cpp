#include "tests/codec/reference_codec.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "tests/codec/stormlib_api.h"


namespace dcl::reference {
namespace {

// Larger than the library's own structures on 64-bit hosts (36,328 and 12,648 bytes).
constexpr std::size_t kWorkAreaBytes = 64 * 1024;

struct Io {
    const std::vector<std::uint8_t>* input;
    std::size_t position;
    std::vector<std::uint8_t>* output;
};

unsigned int readCallback(char* buf, unsigned int* size, void* param) {
    auto& io = *static_cast<Io*>(param);
    const std::size_t n = std::min<std::size_t>(*size, io.input->size() - io.position);
    if (n != 0) std::memcpy(buf, io.input->data() + io.position, n);
    io.position += n;
    return static_cast<unsigned int>(n);
}

void writeCallback(char* buf, unsigned int* size, void* param) {
    auto& io = *static_cast<Io*>(param);
    io.output->insert(io.output->end(), buf, buf + *size);
}

}  // namespace

std::vector<std::uint8_t> implode(const std::vector<std::uint8_t>& input, unsigned mode,
                                  unsigned dictionaryBytes) {
    std::vector<std::uint8_t> out;
    out.reserve(input.size() + input.size() / 2 + 16);
    Io io{&input, 0, &out};
    auto work = std::make_unique<char[]>(kWorkAreaBytes);
    unsigned int type = mode;
    unsigned int dictSize = dictionaryBytes;
    if (::implode(readCallback, writeCallback, work.get(), &io, &type, &dictSize) != 0) return {};
    return out;
}

unsigned explode(const std::vector<std::uint8_t>& stream, std::vector<std::uint8_t>& output) {
    Io io{&stream, 0, &output};
    auto work = std::make_unique<char[]>(kWorkAreaBytes);
    return ::explode(readCallback, writeCallback, work.get(), &io);
}

}  // namespace dcl::reference
