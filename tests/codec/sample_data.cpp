#include "tests/codec/sample_data.h"

#include <random>

namespace dcl::testing {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

std::vector<std::uint8_t> text() {
    static const char* const kWords[] = {"the ", "screen ", "saver ", "install ", "folder ",
                                         "Windows ", "file ", "of ", "and ", "licence ",
                                         "\r\n", "data, ", "preview. ", "Flash ", "a "};
    std::mt19937 rng(1);
    std::string s;
    while (s.size() < 40000) s += kWords[rng() % std::size(kWords)];
    return bytesOf(s);
}

// Instruction-like bytes: repeated opcodes with varying operands, as in compiled code.
std::vector<std::uint8_t> code() {
    std::mt19937 rng(2);
    std::vector<std::uint8_t> v;
    static const std::uint8_t kPrologue[] = {0x55, 0x48, 0x89, 0xE5, 0x48, 0x83, 0xEC};
    while (v.size() < 30000) {
        v.insert(v.end(), std::begin(kPrologue), std::end(kPrologue));
        v.push_back(static_cast<std::uint8_t>(rng() & 0x78));
        for (int i = rng() % 12; i > 0; --i) {
            v.push_back(0xE8);
            for (int b = 0; b < 4; ++b) v.push_back(static_cast<std::uint8_t>(rng()));
        }
        v.push_back(0xC3);
    }
    return v;
}

// A smooth 24-bit gradient with noise in the low bits, like a photo's BMP rows.
std::vector<std::uint8_t> image() {
    std::mt19937 rng(3);
    std::vector<std::uint8_t> v;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 160; ++x) {
            v.push_back(static_cast<std::uint8_t>(x + (rng() & 3)));
            v.push_back(static_cast<std::uint8_t>(y * 3));
            v.push_back(static_cast<std::uint8_t>((x ^ y) & 0xF0));
        }
    }
    return v;
}

std::vector<std::uint8_t> randomBytes(std::size_t n) {
    std::mt19937 rng(4);
    std::vector<std::uint8_t> v(n);
    for (auto& b : v) b = static_cast<std::uint8_t>(rng());
    return v;
}

// Runs longer than the longest match, with short periods, and a repeat at the far window edge.
std::vector<std::uint8_t> runs() {
    std::vector<std::uint8_t> v(2000, 'x');
    for (int i = 0; i < 1500; ++i) v.push_back("ab"[i % 2]);
    for (int i = 0; i < 1500; ++i) v.push_back("abcdefg"[i % 7]);
    const auto noise = randomBytes(4096);
    v.insert(v.end(), noise.begin(), noise.end());
    v.insert(v.end(), noise.begin(), noise.begin() + 600);
    return v;
}

}  // namespace

std::vector<Sample> sampleCorpus() {
    return {
        {"empty", {}},
        {"one_byte", {0x41}},
        {"two_bytes", {0x00, 0xFF}},
        {"three_bytes", bytesOf("abc")},
        {"classic_text", bytesOf("AIAIAIAIAIAIA")},
        {"text", text()},
        {"code", code()},
        {"image", image()},
        {"random", randomBytes(20000)},
        {"zeros", std::vector<std::uint8_t>(70000, 0)},
        {"runs", runs()},
    };
}

}  // namespace dcl::testing
