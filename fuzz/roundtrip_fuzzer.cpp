// libFuzzer target: implode then explode must give back the input, in every mode, dictionary
// size and level (chosen by the first byte). Run it longer as described in explode_fuzzer.cpp.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "codec/dcl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned selector = data[0];
    const dcl::ImplodeOptions options{
        (selector & 1) ? dcl::LiteralMode::Ascii : dcl::LiteralMode::Binary,
        1024u << ((selector >> 1) % 3), (selector & 8) ? dcl::Level::Best : dcl::Level::Default};
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    const std::vector<std::uint8_t> stream = dcl::implode(input, options);
    std::vector<std::uint8_t> output;
    if (dcl::explode(stream, output) != dcl::Status::Ok) std::abort();
    if (output.size() != input.size() ||
        !std::equal(output.begin(), output.end(), input.begin())) {
        std::abort();
    }
    return 0;
}
