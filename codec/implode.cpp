// The encoder: a match finder, one of two parsers, and the bit writer.
//
// Level::Default parses lazily: it takes the match that saves the most bits over plain literals
// unless the match one byte later saves more. Level::Best searches the whole window and chooses,
// over stretches of input, the sequence of literals and matches with the fewest bits; with fixed
// codes that count is exact, so the choice is optimal for the matches found.
#include <algorithm>
#include <climits>
#include <limits>
#include <memory>

#include "codec/bit_writer.h"
#include "codec/dcl.h"
#include "codec/match_finder.h"
#include "codec/token_encoding.h"

namespace dcl {
namespace {

using codes::kEndLength;
using codes::kMaxEncodedMatch;

class TokenWriter {
public:
    TokenWriter(const TokenEncoding& encoding, std::span<const std::uint8_t> data,
                std::uint8_t* out)
        : e_(encoding), data_(data.data()), bits_(out) {}

    void literal(std::size_t pos) { put(e_.literal[data_[pos]]); }
    void match(unsigned length, unsigned distance) {
        put(e_.length[length]);
        put(length == 2 ? e_.shortDistance[distance - 1] : e_.longDistance[distance - 1]);
    }
    std::uint8_t* finish() {
        put(e_.length[kEndLength]);
        return bits_.finish();
    }

private:
    void put(const BitField& f) { bits_.put(f.value, f.bits); }

    const TokenEncoding& e_;
    const std::uint8_t* data_;
    BitWriter bits_;
};

unsigned matchCost(const TokenEncoding& e, unsigned length, unsigned distance) {
    return e.length[length].bits +
           (length == 2 ? e.shortDistance[distance - 1].bits : e.longDistance[distance - 1].bits);
}

struct Choice {
    unsigned length = 0;
    unsigned distance = 0;
    int gain = 0;  // bits saved over writing the same bytes as literals
};

class LazyParser {
public:
    LazyParser(const TokenEncoding& e, std::span<const std::uint8_t> data, TokenWriter& out)
        : e_(e), data_(data), out_(out), finder_(data, e.maxDistance, kMaxChain) {}

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
            recordedUpTo_ = std::max(recordedUpTo_, end);
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
        finder_.find(pos, kMaxEncodedMatch, [&](unsigned length, unsigned distance) {
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

class OptimalParser {
public:
    OptimalParser(const TokenEncoding& e, std::span<const std::uint8_t> data, TokenWriter& out)
        : e_(e),
          data_(data),
          out_(out),
          finder_(data, e.maxDistance, kMaxChain),
          cost_(kSegment + kMaxEncodedMatch + 1),
          step_(kSegment + kMaxEncodedMatch + 1) {}

    void run() {
        const std::size_t n = data_.size();
        std::size_t pos = 0;
        while (pos < n) pos = parseSegment(pos, std::min(n, pos + kSegment));
    }

private:
    static constexpr unsigned kMaxChain = 4096;
    static constexpr std::size_t kSegment = 1 << 15;
    // A match this long is taken at once: searching inside it costs much and gains almost nothing.
    static constexpr unsigned kTakeAtOnce = 300;

    struct Step {
        std::uint16_t length;  // 1 for a literal
        std::uint16_t distance;
    };
    struct Candidate {
        unsigned length;
        unsigned distance;
    };

    // Chooses the tokens for [start, end) or up to a very long match, writes them, and returns
    // where the next segment starts.
    std::size_t parseSegment(std::size_t start, std::size_t end) {
        const std::size_t span = end - start;
        std::fill(cost_.begin(), cost_.begin() + static_cast<std::ptrdiff_t>(span) + 1, kInfinite);
        cost_[0] = 0;
        std::size_t stop = span;
        Candidate taken{0, 0};
        for (std::size_t i = 0; i < span; ++i) {
            const std::size_t pos = start + i;
            const unsigned here = cost_[i];
            relax(i + 1, here + e_.literal[data_[pos]].bits, 1, 0);
            candidateCount_ = 0;
            finder_.find(pos, kMaxEncodedMatch, [&](unsigned length, unsigned distance) {
                candidates_[candidateCount_++] = Candidate{length, distance};
            });
            if (candidateCount_ != 0 &&
                candidates_[candidateCount_ - 1].length >= kTakeAtOnce) {
                stop = i;
                taken = candidates_[candidateCount_ - 1];
                break;
            }
            unsigned from = 2;
            for (unsigned c = 0; c < candidateCount_; ++c) {
                const auto [length, distance] = candidates_[c];
                for (unsigned l = from; l <= length; ++l) {
                    if (l == 2 && distance > 256) continue;
                    if (i + l > span) break;
                    relax(i + l, here + matchCost(e_, l, distance), l, distance);
                }
                from = length + 1;
            }
        }
        writePath(start, stop);
        if (taken.length == 0) return end;
        const std::size_t matchStart = start + stop;
        out_.match(taken.length, taken.distance);
        for (std::size_t p = matchStart + 1; p < matchStart + taken.length; ++p) finder_.skip(p);
        return matchStart + taken.length;
    }

    void relax(std::size_t at, unsigned cost, unsigned length, unsigned distance) {
        if (cost < cost_[at]) {
            cost_[at] = cost;
            step_[at] = Step{static_cast<std::uint16_t>(length),
                             static_cast<std::uint16_t>(distance)};
        }
    }

    void writePath(std::size_t start, std::size_t stop) {
        path_.clear();
        for (std::size_t at = stop; at > 0; at -= step_[at].length) path_.push_back(step_[at]);
        std::size_t pos = start;
        for (auto it = path_.rbegin(); it != path_.rend(); ++it) {
            if (it->length == 1) {
                out_.literal(pos);
            } else {
                out_.match(it->length, it->distance);
            }
            pos += it->length;
        }
    }

    static constexpr unsigned kInfinite = UINT_MAX / 2;

    const TokenEncoding& e_;
    std::span<const std::uint8_t> data_;
    TokenWriter& out_;
    MatchFinder finder_;
    std::vector<unsigned> cost_;
    std::vector<Step> step_;
    std::vector<Step> path_;
    Candidate candidates_[kMaxEncodedMatch + 1];
    unsigned candidateCount_ = 0;
};

unsigned dictionaryCodeFor(unsigned dictionaryBytes) {
    switch (dictionaryBytes) {
        case 1024: return 4;
        case 2048: return 5;
        case 4096: return 6;
        default: return 0;
    }
}

}  // namespace

bool isValidDictionarySize(unsigned dictionaryBytes) {
    return dictionaryCodeFor(dictionaryBytes) != 0;
}

std::vector<std::uint8_t> implode(std::span<const std::uint8_t> input,
                                  const ImplodeOptions& options) {
    const unsigned dictionaryCode = dictionaryCodeFor(options.dictionaryBytes);
    const bool ascii = options.mode == LiteralMode::Ascii;
    if (dictionaryCode == 0 || (!ascii && options.mode != LiteralMode::Binary) ||
        input.size() >= UINT32_MAX) {
        return {};
    }
    const auto encoding = std::make_unique<TokenEncoding>(makeTokenEncoding(ascii, dictionaryCode));

    // Worst case: every byte a 14-bit ASCII literal, the end code, the header and the padding.
    std::vector<std::uint8_t> out(2 + (input.size() * 14 + 16) / 8 + 8);
    out[0] = ascii ? 1 : 0;
    out[1] = static_cast<std::uint8_t>(dictionaryCode);
    TokenWriter writer(*encoding, input, out.data() + 2);
    if (options.level == Level::Best) {
        auto parser = std::make_unique<OptimalParser>(*encoding, input, writer);
        parser->run();
    } else {
        LazyParser parser(*encoding, input, writer);
        parser.run();
    }
    out.resize(static_cast<std::size_t>(writer.finish() - out.data()));
    return out;
}

}  // namespace dcl
