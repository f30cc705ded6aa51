// Level::Default: take the match that saves the most bits over plain literals, unless the best
// match one byte later saves more. Costs are exact because every code is fixed.
#include "codec/implode_core.h"

#include "codec/token_writer.h"

namespace dcl {
namespace {

struct Choice {
    unsigned length = 0;
    unsigned distance = 0;
    int gain = 0;  // bits saved over writing the same bytes as literals
};

class LazyParser {
public:
    LazyParser(const TokenEncoding& e, std::span<const std::uint8_t> data, TokenWriter& out,
               MatchFinderTables& tables)
        : e_(e), data_(data), out_(out), finder_(data, e.maxDistance, kMaxChain, codes::kMaxEncodedMatch, codes::kMaxEncodedMatch,
                  tables) {}

    void run() {
        const std::size_t n = data_.size();
        std::size_t pos = 0;
        Choice current = n > 0 ? bestAt(0) : Choice{};
        while (pos < n) {
            if (current.gain <= 0) {
                out_.literal(pos);
                ++pos;
                if (pos < n) current = bestAt(pos);
                continue;
            }
            if (current.length < kLazyLimit && pos + 1 < n) {
                const Choice next = bestAt(pos + 1);
                if (next.gain > current.gain) {
                    out_.literal(pos);
                    ++pos;
                    current = next;
                    continue;
                }
            }
            out_.match(current.length, current.distance);
            const std::size_t end = pos + current.length;
            for (std::size_t p = recordedUpTo_; p < end; ++p) finder_.skip(p);
            if (recordedUpTo_ < end) recordedUpTo_ = end;
            pos = end;
            if (pos < n) current = bestAt(pos);
        }
    }

private:
    static constexpr unsigned kMaxChain = 64;
    static constexpr unsigned kLazyLimit = 64;

    Choice bestAt(std::size_t pos) {
        Choice best;
        unsigned literalBits = 0;
        unsigned counted = 0;
        finder_.find(pos, codes::kMaxEncodedMatch, [&](unsigned length, unsigned distance) {
            if (length == 2 && distance > 256) return;
            while (counted < length) literalBits += e_.literal[data_[pos + counted++]].bits;
            const int gain =
                static_cast<int>(literalBits) - static_cast<int>(matchCost(e_, length, distance));
            if (gain >= best.gain) best = Choice{length, distance, gain};
        });
        recordedUpTo_ = pos + 1;
        return best;
    }

    const TokenEncoding& e_;
    std::span<const std::uint8_t> data_;
    TokenWriter& out_;
    MatchFinder finder_;
    std::size_t recordedUpTo_ = 0;
};

}  // namespace

unsigned dictionaryCodeFor(unsigned dictionaryBytes) {
    switch (dictionaryBytes) {
        case 1024: return 4;
        case 2048: return 5;
        case 4096: return 6;
        default: return 0;
    }
}

std::size_t implodeLazyInto(std::span<const std::uint8_t> input, bool ascii,
                            unsigned dictionaryCode, ImplodeWorkspace& workspace,
                            std::uint8_t* out) {
    initTokenEncoding(workspace.encoding, ascii, dictionaryCode);
    out[0] = ascii ? 1 : 0;
    out[1] = static_cast<std::uint8_t>(dictionaryCode);
    TokenWriter writer(workspace.encoding, input, out + 2);
    LazyParser parser(workspace.encoding, input, writer, workspace.tables);
    parser.run();
    return static_cast<std::size_t>(writer.finish() - out);
}

}  // namespace dcl
