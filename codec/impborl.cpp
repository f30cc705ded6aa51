// The three exports of impborl.dll over the portable codec. Nothing may throw across the C
// boundary, and the explode path allocates nothing: it runs in the caller's work area.
#include "codec/impborl.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "codec/crc32.h"
#include "codec/dcl.h"
#include "codec/explode_stream.h"

namespace {

struct ClassicIo {
    ImpborlRead read;
    ImpborlWrite write;
    void* param;
    unsigned char header[2];  // the stream's first two bytes, to tell a bad mode from a bad size
    unsigned headerSeen;
};

std::size_t readThroughCallback(std::uint8_t* buffer, std::size_t capacity, void* context) {
    auto& io = *static_cast<ClassicIo*>(context);
    unsigned int size = static_cast<unsigned int>(capacity);
    const unsigned int got = io.read(reinterpret_cast<char*>(buffer), &size, io.param);
    const std::size_t delivered = std::min<std::size_t>(got, capacity);
    for (std::size_t i = 0; i < delivered && io.headerSeen < 2; ++i) {
        io.header[io.headerSeen++] = buffer[i];
    }
    return delivered;
}

bool writeThroughCallback(const std::uint8_t* buffer, std::size_t size, void* context) {
    auto& io = *static_cast<ClassicIo*>(context);
    unsigned int count = static_cast<unsigned int>(size);
    io.write(reinterpret_cast<char*>(const_cast<std::uint8_t*>(buffer)), &count, io.param);
    return true;
}

unsigned int resultOf(dcl::Status status, const ClassicIo& io) {
    switch (status) {
        case dcl::Status::Ok: return kImpborlOk;
        case dcl::Status::BadHeader:
            return io.header[0] > 1 ? kImpborlInvalidMode : kImpborlInvalidDictionary;
        case dcl::Status::CorruptData:
        case dcl::Status::TruncatedData: return kImpborlBadData;
        case dcl::Status::OutputFull: break;
    }
    return kImpborlAbort;
}

}  // namespace

extern "C" {

unsigned int IMPBORL_CALL impborlExplode(ImpborlRead read, ImpborlWrite write, char* workArea,
                                         void* param) {
    if (read == nullptr || write == nullptr || workArea == nullptr) return kImpborlAbort;
    ClassicIo io{read, write, param, {0, 0}, 0};
    auto* state = new (workArea) dcl::ExplodeState;
    const dcl::Status status =
        dcl::explodeStream(*state, dcl::ExplodeIo{readThroughCallback, writeThroughCallback, &io});
    return resultOf(status, io);
}

unsigned int IMPBORL_CALL impborlImplode(ImpborlRead read, ImpborlWrite write, char* /*workArea*/,
                                         void* param, unsigned int* type,
                                         unsigned int* dictSize) {
    if (read == nullptr || write == nullptr) return kImpborlAbort;
    if (dictSize == nullptr || !dcl::isValidDictionarySize(*dictSize)) {
        return kImpborlInvalidDictionary;
    }
    if (type == nullptr || *type > 1) return kImpborlInvalidMode;
    try {
        std::vector<std::uint8_t> input;
        constexpr unsigned int kChunk = 0x1000;
        for (;;) {
            const std::size_t used = input.size();
            input.resize(used + kChunk);
            unsigned int size = kChunk;
            const unsigned int got =
                read(reinterpret_cast<char*>(input.data() + used), &size, param);
            input.resize(used + std::min(got, kChunk));
            if (got == 0) break;
        }
        const dcl::ImplodeOptions options{
            *type == 1 ? dcl::LiteralMode::Ascii : dcl::LiteralMode::Binary, *dictSize,
            dcl::Level::Default};
        std::vector<std::uint8_t> stream = dcl::implode(input, options);
        if (stream.empty()) return kImpborlAbort;
        for (std::size_t at = 0; at < stream.size(); at += kChunk) {
            unsigned int size =
                static_cast<unsigned int>(std::min<std::size_t>(kChunk, stream.size() - at));
            write(reinterpret_cast<char*>(stream.data() + at), &size, param);
        }
        return kImpborlOk;
    } catch (...) {
        return kImpborlAbort;
    }
}

unsigned long IMPBORL_CALL impborlCrc32(char* buffer, unsigned int* size, unsigned long* oldCrc) {
    const std::uint32_t start = oldCrc != nullptr ? static_cast<std::uint32_t>(*oldCrc) : 0;
    if (buffer == nullptr || size == nullptr) return start;
    return dcl::crc32Update(reinterpret_cast<const std::uint8_t*>(buffer), *size, start);
}

}  // extern "C"
