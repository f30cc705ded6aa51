// impborl.dll as the installer uses it: loaded at run time, entry points looked up by name,
// explode through callbacks into a 12,596-byte static-style work area.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "codec/dcl.h"
#include "codec/impborl.h"
#include "tests/codec/sample_data.h"
#include "tests/codec/stream_builder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Library {
    HMODULE module = LoadLibraryA("impborl.dll");
    ~Library() {
        if (module != nullptr) FreeLibrary(module);
    }
    template <class Fn>
    Fn entry(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

struct Io {
    const Bytes* input;
    std::size_t position;
    Bytes output;
};

unsigned int __cdecl readCallback(char* buf, unsigned int* size, void* param) {
    auto& io = *static_cast<Io*>(param);
    const std::size_t n = std::min<std::size_t>(*size, io.input->size() - io.position);
    if (n != 0) std::memcpy(buf, io.input->data() + io.position, n);
    io.position += n;
    return static_cast<unsigned int>(n);
}

void __cdecl writeCallback(char* buf, unsigned int* size, void* param) {
    auto& io = *static_cast<Io*>(param);
    io.output.insert(io.output.end(), buf, buf + *size);
}

constexpr std::size_t kGuardBytes = 256;
constexpr std::uint8_t kGuard = 0xA5;

// Explodes through the DLL inside exactly 12,596 bytes with guards on both sides; an odd offset
// checks that no alignment is assumed.
unsigned explodeGuarded(ImpborlExplodeFn explode, const Bytes& stream, Bytes& out) {
    std::vector<char> area(kGuardBytes + kImpborlExplodeWorkAreaBytes + kGuardBytes + 1,
                           static_cast<char>(kGuard));
    char* work = area.data() + kGuardBytes + 1;
    Io io{&stream, 0, {}};
    const unsigned result = explode(readCallback, writeCallback, work, &io);
    for (std::size_t i = 0; i < area.size(); ++i) {
        const bool inside =
            i >= kGuardBytes + 1 && i < kGuardBytes + 1 + kImpborlExplodeWorkAreaBytes;
        if (!inside) {
            EXPECT_EQ(static_cast<std::uint8_t>(area[i]), kGuard) << "guard byte " << i;
        }
    }
    out = std::move(io.output);
    return result;
}

TEST(ImpborlDll, ExportsTheThreeClassicNames) {
    Library lib;
    ASSERT_NE(lib.module, nullptr);
    EXPECT_NE(lib.entry<ImpborlImplodeFn>(kImpborlImplodeName), nullptr);
    EXPECT_NE(lib.entry<ImpborlExplodeFn>(kImpborlExplodeName), nullptr);
    EXPECT_NE(lib.entry<ImpborlCrc32Fn>(kImpborlCrc32Name), nullptr);
    EXPECT_EQ(lib.entry<ImpborlExplodeFn>("explode"), nullptr);
}

TEST(ImpborlDll, ExplodesInsideTheClassicWorkArea) {
    Library lib;
    const auto explode = lib.entry<ImpborlExplodeFn>(kImpborlExplodeName);
    ASSERT_NE(explode, nullptr);
    Bytes out;
    EXPECT_EQ(explodeGuarded(explode, {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F}, out), 0u);
    EXPECT_EQ(std::string(out.begin(), out.end()), "AIAIAIAIAIAIA");

    for (const auto& sample : dcl::testing::sampleCorpus()) {
        SCOPED_TRACE(sample.name);
        const Bytes stream =
            dcl::implode(sample.bytes, {dcl::LiteralMode::Ascii, 4096, dcl::Level::Best});
        EXPECT_EQ(explodeGuarded(explode, stream, out), 0u);
        EXPECT_TRUE(out == sample.bytes);
    }
}

TEST(ImpborlDll, ExplodeResultCodes) {
    Library lib;
    const auto explode = lib.entry<ImpborlExplodeFn>(kImpborlExplodeName);
    ASSERT_NE(explode, nullptr);
    const struct {
        Bytes stream;
        unsigned result;
    } cases[] = {
        {{0x02, 0x04, 0x82, 0x24}, kImpborlInvalidMode},
        {{0x00, 0x07, 0x82, 0x24}, kImpborlInvalidDictionary},
        {{0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80}, kImpborlBadData},
        // A 2-byte match one byte back with nothing written yet.
        {dcl::testing::StreamBuilder(0, 6).code("1101").code("11").field(0, 2).endCode().bytes(),
         kImpborlBadData},
    };
    for (const auto& c : cases) {
        Bytes out;
        EXPECT_EQ(explodeGuarded(explode, c.stream, out), c.result);
    }
}

TEST(ImpborlDll, ImplodeThenExplodeRoundTrips) {
    Library lib;
    const auto implode = lib.entry<ImpborlImplodeFn>(kImpborlImplodeName);
    const auto explode = lib.entry<ImpborlExplodeFn>(kImpborlExplodeName);
    ASSERT_NE(implode, nullptr);
    ASSERT_NE(explode, nullptr);
    std::vector<char> implodeArea(kImpborlImplodeWorkAreaBytes);
    for (const auto& sample : dcl::testing::sampleCorpus()) {
        for (unsigned type : {0u, 1u}) {
            for (unsigned dictSize : {1024u, 2048u, 4096u}) {
                SCOPED_TRACE(sample.name + " " + std::to_string(type) + " " +
                             std::to_string(dictSize));
                Io io{&sample.bytes, 0, {}};
                unsigned t = type, d = dictSize;
                ASSERT_EQ(implode(readCallback, writeCallback, implodeArea.data(), &io, &t, &d),
                          0u);
                Bytes out;
                EXPECT_EQ(explodeGuarded(explode, io.output, out), 0u);
                EXPECT_TRUE(out == sample.bytes);
            }
        }
    }
}

TEST(ImpborlDll, ImplodeRefusesBadParameters) {
    Library lib;
    const auto implode = lib.entry<ImpborlImplodeFn>(kImpborlImplodeName);
    ASSERT_NE(implode, nullptr);
    std::vector<char> area(kImpborlImplodeWorkAreaBytes);
    const Bytes input = {1, 2, 3};
    Io io{&input, 0, {}};
    unsigned type = 0, dictSize = 512;
    EXPECT_EQ(implode(readCallback, writeCallback, area.data(), &io, &type, &dictSize),
              kImpborlInvalidDictionary);
    type = 2;
    dictSize = 4096;
    EXPECT_EQ(implode(readCallback, writeCallback, area.data(), &io, &type, &dictSize),
              kImpborlInvalidMode);
}

TEST(ImpborlDll, Crc32IsTheReflectedStep) {
    Library lib;
    const auto crc32 = lib.entry<ImpborlCrc32Fn>(kImpborlCrc32Name);
    ASSERT_NE(crc32, nullptr);
    char text[] = "123456789";
    unsigned int size = 9;
    unsigned long crc = 0xFFFFFFFFul;
    EXPECT_EQ(~crc32(text, &size, &crc) & 0xFFFFFFFFul, 0xCBF43926ul);
}

}  // namespace
