// Compares this codec with StormLib's classic implode/explode on the files given (see
// make-corpus.sh), side by side in one run: sizes, throughput (best of several repetitions) and
// ratios, and the Best level's size, mode (a/b) and window. Both explodes run through read/write callbacks, ours inside the 12,596-byte work area
// as impborl.dll runs it.
//   implode_bench [-r repetitions] <file>...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "codec/dcl.h"
#include "codec/explode_stream.h"
#include "tests/codec/stormlib_api.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// Callbacks over memory: reads copy from the input, writes copy into a buffer sized in advance.
struct MemoryIo {
    const Bytes* input;
    std::size_t position = 0;
    Bytes* output;
    std::size_t written = 0;
};

unsigned int classicRead(char* buf, unsigned int* size, void* param) {
    auto& io = *static_cast<MemoryIo*>(param);
    const std::size_t n = std::min<std::size_t>(*size, io.input->size() - io.position);
    std::memcpy(buf, io.input->data() + io.position, n);
    io.position += n;
    return static_cast<unsigned int>(n);
}

void classicWrite(char* buf, unsigned int* size, void* param) {
    auto& io = *static_cast<MemoryIo*>(param);
    if (io.written + *size > io.output->size()) io.output->resize(io.written + *size);
    std::memcpy(io.output->data() + io.written, buf, *size);
    io.written += *size;
}

std::size_t coreRead(std::uint8_t* buf, std::size_t capacity, void* context) {
    auto& io = *static_cast<MemoryIo*>(context);
    const std::size_t n = std::min(capacity, io.input->size() - io.position);
    std::memcpy(buf, io.input->data() + io.position, n);
    io.position += n;
    return n;
}

bool coreWrite(const std::uint8_t* buf, std::size_t size, void* context) {
    auto& io = *static_cast<MemoryIo*>(context);
    if (io.written + size > io.output->size()) io.output->resize(io.written + size);
    std::memcpy(io.output->data() + io.written, buf, size);
    io.written += size;
    return true;
}

constexpr std::size_t kStormWorkArea = 64 * 1024;  // above its 64-bit structure sizes

Bytes stormImplode(const Bytes& input, unsigned mode) {
    Bytes out(input.size() + input.size() / 4 + 64);
    MemoryIo io{&input, 0, &out, 0};
    auto work = std::make_unique<char[]>(kStormWorkArea);
    unsigned int type = mode, dictSize = 4096;
    implode(classicRead, classicWrite, work.get(), &io, &type, &dictSize);
    out.resize(io.written);
    return out;
}

bool stormExplode(const Bytes& stream, Bytes& out) {
    MemoryIo io{&stream, 0, &out, 0};
    auto work = std::make_unique<char[]>(kStormWorkArea);
    const unsigned result = explode(classicRead, classicWrite, work.get(), &io);
    return result == 0 && io.written == out.size();
}

bool ourExplode(const Bytes& stream, Bytes& out) {
    MemoryIo io{&stream, 0, &out, 0};
    auto area = std::make_unique<std::uint8_t[]>(dcl::kExplodeWorkAreaBytes);
    auto* state = new (area.get()) dcl::ExplodeState;
    const dcl::Status status = dcl::explodeStream(*state, {coreRead, coreWrite, &io});
    return status == dcl::Status::Ok && io.written == out.size();
}

template <class F>
double bestSeconds(int repetitions, F&& f) {
    double best = 1e30;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = Clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

double mbPerSecond(std::size_t bytes, double seconds) { return bytes / seconds / 1e6; }

struct Row {
    std::string name;
    std::size_t size;
    std::size_t ours, storm, best;
    unsigned bestMode, bestDictionary;  // what Best chose for its stream
    double ourImplode, stormImplode, ourExplode, stormExplode;
    bool roundTrips;
};

Row measure(const std::string& name, const Bytes& data, unsigned mode, int repetitions) {
    Row r{name, data.size(), 0, 0, 0, 0, 0, 0, 0, 0, 0, true};
    const dcl::ImplodeOptions options{mode ? dcl::LiteralMode::Ascii : dcl::LiteralMode::Binary,
                                      4096, dcl::Level::Default};
    Bytes ours, storm;
    const int implodeRuns = std::max(1, (repetitions + 1) / 2);
    const double ourSeconds = bestSeconds(implodeRuns, [&] { ours = dcl::implode(data, options); });
    const double stormSeconds = bestSeconds(implodeRuns, [&] { storm = stormImplode(data, mode); });
    dcl::ImplodeOptions bestOptions = options;
    bestOptions.level = dcl::Level::Best;
    const Bytes best = dcl::implode(data, bestOptions);

    // Both explodes decode the same streams: ours and StormLib's, and each must give the input.
    Bytes out(data.size());
    double ourExplodeSeconds = 0, stormExplodeSeconds = 0;
    for (const Bytes* stream : {&ours, &storm}) {
        ourExplodeSeconds += bestSeconds(repetitions, [&] { r.roundTrips &= ourExplode(*stream, out); });
        r.roundTrips &= out == data;
        stormExplodeSeconds +=
            bestSeconds(repetitions, [&] { r.roundTrips &= stormExplode(*stream, out); });
        r.roundTrips &= out == data;
    }
    for (const Bytes* stream : {&best}) {
        r.roundTrips &= ourExplode(*stream, out) && out == data;
        r.roundTrips &= stormExplode(*stream, out) && out == data;
    }
    r.ours = ours.size();
    r.storm = storm.size();
    r.best = best.size();
    r.bestMode = best.size() >= 2 ? best[0] : 0;
    r.bestDictionary = best.size() >= 2 ? 64u << best[1] : 0;
    r.ourImplode = mbPerSecond(data.size(), ourSeconds);
    r.stormImplode = mbPerSecond(data.size(), stormSeconds);
    r.ourExplode = mbPerSecond(2 * data.size(), ourExplodeSeconds);
    r.stormExplode = mbPerSecond(2 * data.size(), stormExplodeSeconds);
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    int repetitions = 5;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-r") == 0 && i + 1 < argc) {
            repetitions = std::max(1, std::atoi(argv[++i]));
        } else {
            files.push_back(argv[i]);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: implode_bench [-r repetitions] <file>...\n");
        return 2;
    }

    std::printf("dictionary 4096; sizes in %% of the input; MB/s best of %d; explode: the same "
                "streams (ours and StormLib's) through callbacks\n\n", repetitions);
    std::printf("%-20s %10s | %8s %8s %6s | %8s %8s %6s | %8s %8s %6s | %8s %7s %-7s | %s\n",
                "file", "bytes", "ours %", "storm %", "ratio", "imp ours", "storm", "x",
                "exp ours", "storm", "x", "best %", "vs st", "chose", "ok");
    std::size_t bestTotal = 0, stormTotal = 0;
    bool allOk = true;
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        const Bytes data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::string base = path.substr(path.find_last_of('/') + 1);
        const bool text = base.find(".txt") != std::string::npos;
        for (unsigned mode : text ? std::vector<unsigned>{0, 1} : std::vector<unsigned>{0}) {
            const Row r = measure(base + (mode ? " ascii" : " binary"), data, mode, repetitions);
            auto pct = [&](std::size_t n) { return 100.0 * n / r.size; };
            std::printf(
                "%-20s %10zu | %8.2f %8.2f %6.4f | %8.1f %8.1f %6.2f | %8.1f %8.1f %6.2f | %8.2f "
                "%+6.2f%% %c%-6u | %s\n",
                r.name.c_str(), r.size, pct(r.ours), pct(r.storm), double(r.ours) / r.storm,
                r.ourImplode, r.stormImplode, r.ourImplode / r.stormImplode, r.ourExplode,
                r.stormExplode, r.ourExplode / r.stormExplode, pct(r.best),
                100.0 * (double(r.best) / r.storm - 1), r.bestMode ? 'a' : 'b', r.bestDictionary,
                r.roundTrips ? "yes" : "NO");
            allOk &= r.roundTrips;
            if (r.ours > r.storm) {
                std::printf("  ^ default level larger than StormLib by %zu bytes\n",
                            r.ours - r.storm);
            }
            const bool counted = base.find(".txt") != std::string::npos ||
                                 base.find(".exe") != std::string::npos;
            if (counted) {
                bestTotal += r.best;
                stormTotal += r.storm;
            }
        }
    }
    if (stormTotal != 0) {
        // Each text file counts twice (asked for binary, then ASCII) and each executable once;
        // every row's Best stream (which may choose its own mode and window) is set against
        // StormLib's stream in the asked-for mode with dictionary 4096.
        std::printf("\nTOTAL Best over the .txt rows (binary and ascii) and .exe rows: %zu bytes vs "
                    "StormLib %zu bytes at the same mode, dictionary 4096 (%+.2f%%)\n",
                    bestTotal, stormTotal, 100.0 * (double(bestTotal) / stormTotal - 1));
    }
    return allOk ? 0 : 1;
}
