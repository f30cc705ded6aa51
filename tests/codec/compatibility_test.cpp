// Streams must pass both ways between this codec and an independent implementation.
#include <gtest/gtest.h>

#include <string>

#include "codec/dcl.h"
#include "tests/codec/reference_codec.h"
#include "tests/codec/sample_data.h"

namespace dcl {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string caseName(const std::string& sample, unsigned mode, unsigned dictionary) {
    return sample + (mode ? " ascii " : " binary ") + std::to_string(dictionary);
}

TEST(Compatibility, ReferenceStreamsExplodeHere) {
    for (const auto& sample : testing::sampleCorpus()) {
        for (unsigned mode : {0u, 1u}) {
            for (unsigned dictionary : {1024u, 2048u, 4096u}) {
                SCOPED_TRACE(caseName(sample.name, mode, dictionary));
                const Bytes stream = reference::implode(sample.bytes, mode, dictionary);
                ASSERT_GE(stream.size(), 4u);
                Bytes out;
                ASSERT_EQ(explode(stream, out), Status::Ok);
                EXPECT_TRUE(out == sample.bytes);
            }
        }
    }
}

TEST(Compatibility, OurStreamsExplodeThere) {
    for (const auto& sample : testing::sampleCorpus()) {
        // The reference refuses any stream of 4 bytes or fewer, which only empty input gives.
        if (sample.bytes.empty()) continue;
        for (auto mode : {LiteralMode::Binary, LiteralMode::Ascii}) {
            for (unsigned dictionary : {1024u, 2048u, 4096u}) {
                for (auto level : {Level::Default, Level::Best}) {
                    SCOPED_TRACE(caseName(sample.name, unsigned(mode), dictionary) +
                                 (level == Level::Best ? " best" : " default"));
                    const Bytes stream = implode(sample.bytes, {mode, dictionary, level});
                    Bytes out;
                    ASSERT_EQ(reference::explode(stream, out), 0u);
                    EXPECT_TRUE(out == sample.bytes);
                }
            }
        }
    }
}

TEST(Compatibility, ClassicTextImplodesToTheClassicVector) {
    const std::string text = "AIAIAIAIAIAIA";
    const Bytes input(text.begin(), text.end());
    const Bytes classic = {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F};
    EXPECT_EQ(reference::implode(input, 0, 1024), classic);
    EXPECT_EQ(implode(input, {LiteralMode::Binary, 1024}), classic);
}

}  // namespace
}  // namespace dcl
