// The codec on its own: golden streams, hostile streams, round trips, the streaming core's limits.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <string>

#include "codec/crc32.h"
#include "codec/dcl.h"
#include "codec/explode_stream.h"
#include "tests/codec/sample_data.h"
#include "tests/codec/stream_builder.h"

namespace dcl {
namespace {

using testing::StreamBuilder;
using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

TEST(Explode, ClassicVectorGivesItsText) {
    const Bytes stream = {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F};
    Bytes out;
    EXPECT_EQ(explode(stream, out), Status::Ok);
    EXPECT_EQ(out, bytesOf("AIAIAIAIAIAIA"));
}

TEST(Implode, EmptyInputIsHeaderAndEndCode) {
    EXPECT_EQ(implode({}), (Bytes{0x00, 0x06, 0x01, 0xFF}));
}

TEST(Implode, InvalidOptionsGiveNoStream) {
    EXPECT_TRUE(implode(bytesOf("abc"), {LiteralMode::Binary, 512}).empty());
    EXPECT_TRUE(implode(bytesOf("abc"), {static_cast<LiteralMode>(2), 4096}).empty());
}

struct StreamCase {
    const char* name;
    Bytes stream;
    Status status;
    Bytes output;
};

std::vector<StreamCase> streamCases() {
    const Bytes classic = {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F};
    return {
        {"mode_byte_2", {0x02, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F}, Status::BadHeader, {}},
        {"dictionary_code_3", {0x00, 0x03, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F},
         Status::BadHeader, {}},
        {"dictionary_code_7", {0x01, 0x07, 0x01, 0xFF}, Status::BadHeader, {}},
        {"no_bytes", {}, Status::TruncatedData, {}},
        {"header_only", {0x00, 0x04}, Status::TruncatedData, {}},
        {"end_code_cut", Bytes(classic.begin(), classic.end() - 1), Status::TruncatedData,
         bytesOf("AIAIAIAIAIAIA")},
        {"literal_cut", Bytes(classic.begin(), classic.begin() + 4), Status::TruncatedData,
         bytesOf("A")},
        // 'A', then a 3-byte match 2 back: only one byte exists.
        {"distance_before_start",
         StreamBuilder(0, 4).binaryLiteral('A').code("1").code("11").code("11").field(1, 4)
             .endCode().bytes(),
         Status::CorruptData, bytesOf("A")},
        {"match_on_empty_output",
         StreamBuilder(0, 6).code("1").code("101").code("11").field(0, 2).endCode().bytes(),
         Status::CorruptData, {}},
        // The longest match a stream can hold: class 15 with extra 254 is 518 bytes.
        {"longest_match",
         StreamBuilder(0, 4).binaryLiteral('z').code("1").code("0000000").field(254, 8)
             .code("11").field(0, 4).endCode().bytes(),
         Status::Ok, Bytes(519, 'z')},
        // A 2-byte match reaches 256 back: distance code 63 is "00000000", low bits 3.
        {"two_byte_match_at_256",
         [] {
             StreamBuilder b(0, 6);
             for (int i = 0; i < 256; ++i) b.binaryLiteral(static_cast<std::uint8_t>(i));
             return b.code("1").code("101").code("00000000").field(3, 2).endCode().bytes();
         }(),
         Status::Ok,
         [] {
             Bytes v;
             for (int i = 0; i < 256; ++i) v.push_back(static_cast<std::uint8_t>(i));
             v.push_back(0);
             v.push_back(1);
             return v;
         }()},
        // ASCII mode: ' ' is 1111, 'e' 11011, LF 0100011.
        {"ascii_literals",
         StreamBuilder(1, 6).code("0").code("11011").code("0").code("1111").code("0")
             .code("0100011").endCode().bytes(),
         Status::Ok, bytesOf("e \n")},
    };
}

TEST(Explode, StreamCasesEndWithTheRightStatusAndOutput) {
    for (const auto& c : streamCases()) {
        SCOPED_TRACE(c.name);
        Bytes out;
        EXPECT_EQ(explode(c.stream, out), c.status);
        EXPECT_EQ(out, c.output);
    }
}

TEST(Explode, OutputStopsAtTheLimit) {
    const Bytes stream = {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F};
    Bytes out = bytesOf("kept");
    EXPECT_EQ(explode(stream, out, 5), Status::OutputFull);
    EXPECT_EQ(out, bytesOf("keptAIAIA"));
    out.clear();
    EXPECT_EQ(explode(stream, out, 13), Status::Ok);
}

TEST(Explode, RandomStreamsEndWithinTheirBuffers) {
    std::mt19937 rng(7);
    for (int i = 0; i < 3000; ++i) {
        Bytes stream(2 + rng() % 200);
        for (auto& b : stream) b = static_cast<std::uint8_t>(rng());
        stream[0] = static_cast<std::uint8_t>(rng() % 2);
        stream[1] = static_cast<std::uint8_t>(4 + rng() % 3);
        Bytes out;
        const Status status = explode(stream, out, 100000);
        EXPECT_TRUE(status != Status::BadHeader) << i;
        // Each token takes at least 5 bits and yields at most 518 bytes.
        EXPECT_LE(out.size(), (stream.size() * 8 / 5 + 1) * 518) << i;
    }
}

TEST(RoundTrip, EveryModeDictionaryAndLevel) {
    for (const auto& sample : testing::sampleCorpus()) {
        for (auto mode : {LiteralMode::Binary, LiteralMode::Ascii}) {
            for (unsigned dictionary : {1024u, 2048u, 4096u}) {
                for (auto level : {Level::Default, Level::Best}) {
                    SCOPED_TRACE(sample.name + " mode " + std::to_string(int(mode)) + " dict " +
                                 std::to_string(dictionary) + " level " +
                                 std::to_string(int(level)));
                    const Bytes stream = implode(sample.bytes, {mode, dictionary, level});
                    ASSERT_GE(stream.size(), 4u);
                    if (level == Level::Default) {
                        EXPECT_EQ(stream[0], static_cast<std::uint8_t>(mode));
                    }
                    Bytes out;
                    ASSERT_EQ(explode(stream, out), Status::Ok);
                    EXPECT_TRUE(out == sample.bytes);
                }
            }
        }
    }
}

// Random blocks, each sent twice in a row: every repeat lies one block back.
Bytes repeatedBlocks(std::size_t blockSize, std::size_t blocks) {
    std::mt19937 rng(11);
    Bytes v;
    for (std::size_t b = 0; b < blocks; ++b) {
        Bytes block(blockSize);
        for (auto& x : block) x = static_cast<std::uint8_t>(rng());
        v.insert(v.end(), block.begin(), block.end());
        v.insert(v.end(), block.begin(), block.end());
    }
    return v;
}

std::uint8_t dictionaryCodeOf(unsigned dictionaryBytes) {
    return dictionaryBytes == 1024 ? 4 : dictionaryBytes == 2048 ? 5 : 6;
}

TEST(ImplodeBest, ChoosesTheCheapestWindowForTheRepeats) {
    // A distance costs its code plus k low bits (k = 4, 5, 6): which window is cheapest depends
    // on the distance, e.g. 300 back costs 10, 11 and 11 bits, 1500 back -, 12 and 13.
    struct Case {
        const char* name;
        std::size_t blockSize;
        unsigned asked;
        std::uint8_t expectedCode;  // 0: any window up to the asked one
    };
    const Case cases[] = {
        {"repeats_300_back", 300, 4096, 4},
        {"repeats_1500_back", 1500, 4096, 5},
        {"repeats_3000_back", 3000, 4096, 6},
        {"never_larger_than_asked", 3000, 2048, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes input = repeatedBlocks(c.blockSize, 8);
        const Bytes stream = implode(input, {LiteralMode::Binary, c.asked, Level::Best});
        ASSERT_GE(stream.size(), 4u);
        if (c.expectedCode != 0) {
            EXPECT_EQ(stream[1], c.expectedCode);
        }
        EXPECT_GE(stream[1], 4);
        EXPECT_LE(stream[1], dictionaryCodeOf(c.asked));
        EXPECT_LE(stream.size(), implode(input, {LiteralMode::Binary, c.asked}).size());
        Bytes out;
        ASSERT_EQ(explode(stream, out), Status::Ok);
        EXPECT_TRUE(out == input);
    }
}

TEST(RoundTrip, CompressesWhatRepeats) {
    for (const auto& sample : testing::sampleCorpus()) {
        if (sample.name != "zeros" && sample.name != "text") continue;
        SCOPED_TRACE(sample.name);
        EXPECT_LT(implode(sample.bytes).size(), sample.bytes.size() / 3);
    }
}

// The streaming core in exactly the classic work area (ASan sees any byte outside it), fed one
// byte per read, must give what the whole-buffer explode gives.
struct TrickleIo {
    const Bytes* input;
    std::size_t position = 0;
    Bytes output;
    std::size_t writesAllowed = SIZE_MAX;
};

std::size_t readOneByte(std::uint8_t* buffer, std::size_t capacity, void* context) {
    auto& io = *static_cast<TrickleIo*>(context);
    if (capacity == 0 || io.position == io.input->size()) return 0;
    *buffer = (*io.input)[io.position++];
    return 1;
}

bool collect(const std::uint8_t* buffer, std::size_t size, void* context) {
    auto& io = *static_cast<TrickleIo*>(context);
    if (io.writesAllowed == 0) return false;
    --io.writesAllowed;
    io.output.insert(io.output.end(), buffer, buffer + size);
    return true;
}

TEST(ExplodeStream, WorksInTheClassicAreaOneByteAtATime) {
    const auto samples = testing::sampleCorpus();
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.name);
        const Bytes stream = implode(sample.bytes, {LiteralMode::Ascii, 4096, Level::Best});
        auto area = std::make_unique<std::uint8_t[]>(kExplodeWorkAreaBytes);
        auto* state = new (area.get() + 0) ExplodeState;
        TrickleIo io{&stream, 0, {}, SIZE_MAX};
        EXPECT_EQ(explodeStream(*state, {readOneByte, collect, &io}), Status::Ok);
        EXPECT_TRUE(io.output == sample.bytes);
    }
}

TEST(ExplodeStream, RefusedWriteStops) {
    const Bytes input(100000, 'q');
    const Bytes stream = implode(input);
    ExplodeState state;
    TrickleIo io{&stream, 0, {}, SIZE_MAX};
    io.writesAllowed = 1;
    EXPECT_EQ(explodeStream(state, {readOneByte, collect, &io}), Status::OutputFull);
    EXPECT_GT(io.output.size(), 0u);
    EXPECT_LT(io.output.size(), input.size());
}

TEST(Crc32, StandardValues) {
    auto crcOf = [](const std::string& s) {
        return ~crc32Update(reinterpret_cast<const std::uint8_t*>(s.data()), s.size(),
                            0xFFFFFFFFu);
    };
    EXPECT_EQ(crcOf("abc"), 891568578u);
    EXPECT_EQ(crcOf(""), 0u);
    EXPECT_EQ(crcOf("123456789"), 0xCBF43926u);
}

}  // namespace
}  // namespace dcl
