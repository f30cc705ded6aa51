// Writes the fuzzers' seed corpus into the folder given: imploded streams of small inputs in
// every mode and dictionary size, for explode, and the plain inputs behind a selector byte, for
// the round trip.
#include <cstdio>
#include <string>
#include <vector>

#include "codec/dcl.h"

namespace {

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<std::vector<std::uint8_t>> inputs() {
    std::vector<std::vector<std::uint8_t>> v;
    const std::string text =
        "The screen saver installs into the system folder.\r\nThe screen saver installs.\r\n";
    v.emplace_back(text.begin(), text.end());
    v.emplace_back(600, 0);
    std::vector<std::uint8_t> mixed;
    for (unsigned i = 0; i < 3000; ++i) mixed.push_back(static_cast<std::uint8_t>(i * i >> 3));
    v.push_back(mixed);
    v.push_back({'A'});
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <explode-seed-dir> <roundtrip-seed-dir>\n");
        return 2;
    }
    const std::string explodeDir = argv[1];
    const std::string roundTripDir = argv[2];
    unsigned n = 0;
    for (const auto& input : inputs()) {
        for (auto mode : {dcl::LiteralMode::Binary, dcl::LiteralMode::Ascii}) {
            for (unsigned dictionary : {1024u, 2048u, 4096u}) {
                const auto stream = dcl::implode(input, {mode, dictionary, dcl::Level::Default});
                if (!writeFile(explodeDir + "/seed" + std::to_string(n++), stream)) return 1;
            }
        }
        std::vector<std::uint8_t> selected{static_cast<std::uint8_t>(n)};
        selected.insert(selected.end(), input.begin(), input.end());
        if (!writeFile(roundTripDir + "/seed" + std::to_string(n), selected)) return 1;
    }
    return 0;
}
