// The three exports of impborl.dll over the portable codec.
//
// Built without exceptions and without the C++ runtime's allocator (memory comes from msvcrt's
// malloc): the runtime's thread and exception support would import kernel32 functions that
// Windows 95, where the installer must run, does not have. The explode path allocates nothing at
// all: it runs in the caller's work area.
#include "codec/impborl.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "codec/crc32.h"
#include "codec/dcl.h"
#include "codec/explode_stream.h"
#include "codec/implode_core.h"

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

constexpr std::size_t kChunk = 0x1000;

struct MallocBuffer {
    void* data = nullptr;
    std::size_t size = 0;
    ~MallocBuffer() { std::free(data); }
};

// Reads the whole input, growing the buffer by doubling.
bool gatherInput(ImpborlRead read, void* param, MallocBuffer& input) {
    std::size_t capacity = 0;
    for (;;) {
        if (capacity - input.size < kChunk) {
            const std::size_t grown = capacity == 0 ? 0x10000 : capacity * 2;
            if (grown <= capacity || grown >= 0xFFFFFFFFu) return false;
            void* bigger = std::realloc(input.data, grown);
            if (bigger == nullptr) return false;
            input.data = bigger;
            capacity = grown;
        }
        unsigned int size = static_cast<unsigned int>(kChunk);
        char* at = static_cast<char*>(input.data) + input.size;
        const unsigned int got = read(at, &size, param);
        if (got == 0) return true;
        input.size += std::min<std::size_t>(got, kChunk);
    }
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
    const unsigned dictionaryCode = dictSize != nullptr ? dcl::dictionaryCodeFor(*dictSize) : 0;
    if (dictionaryCode == 0) return kImpborlInvalidDictionary;
    if (type == nullptr || *type > 1) return kImpborlInvalidMode;

    MallocBuffer input;
    if (!gatherInput(read, param, input)) return kImpborlAbort;
    MallocBuffer workspace{std::calloc(1, sizeof(dcl::ImplodeWorkspace)), 0};
    MallocBuffer stream{std::malloc(dcl::implodeBound(input.size)), 0};
    if (workspace.data == nullptr || stream.data == nullptr) return kImpborlAbort;

    auto* out = static_cast<std::uint8_t*>(stream.data);
    stream.size = dcl::implodeLazyInto(
        {static_cast<const std::uint8_t*>(input.data), input.size}, *type == 1, dictionaryCode,
        *static_cast<dcl::ImplodeWorkspace*>(workspace.data), out);
    for (std::size_t at = 0; at < stream.size; at += kChunk) {
        unsigned int size = static_cast<unsigned int>(std::min(kChunk, stream.size - at));
        write(reinterpret_cast<char*>(out + at), &size, param);
    }
    return kImpborlOk;
}

unsigned long IMPBORL_CALL impborlCrc32(char* buffer, unsigned int* size, unsigned long* oldCrc) {
    const std::uint32_t start = oldCrc != nullptr ? static_cast<std::uint32_t>(*oldCrc) : 0;
    if (buffer == nullptr || size == nullptr) return start;
    return dcl::crc32Update(reinterpret_cast<const std::uint8_t*>(buffer), *size, start);
}

}  // extern "C"
