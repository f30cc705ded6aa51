// dcl::implode. Both levels choose, over stretches of input, the sequence of literals and
// matches with the fewest bits; with fixed codes that count is exact, so the choice is optimal for
// the matches found. The levels differ in how many matches they look at.
#include <algorithm>
#include <climits>
#include <limits>
#include <memory>

#include "codec/dcl.h"
#include "codec/implode_core.h"
#include "codec/token_writer.h"

namespace dcl {
namespace {

using codes::kEndLength;
using codes::kMaxEncodedMatch;

// How hard a level searches. maxChain: how many earlier positions with the same 3-byte hash are
// tried; after a match of goodLength only a quarter of them, after niceLength none. takeAtOnce: a
// match this long is taken without searching inside it, which costs much and gains little.
// Inside a match of at least insideLength found one position earlier, the search tries only
// insideChain candidates: the tail of that match is almost always among them.
struct Effort {
    unsigned maxChain;
    unsigned goodLength;
    unsigned niceLength;
    unsigned takeAtOnce;
    unsigned insideLength;
    unsigned insideChain;
};

class OptimalParser {
public:
    OptimalParser(const TokenEncoding& e, std::span<const std::uint8_t> data, TokenWriter& out,
                  MatchFinderTables& tables, const Effort& effort)
        : e_(e),
          data_(data),
          out_(out),
          finder_(data, e.maxDistance, effort.maxChain, effort.goodLength, effort.niceLength,
                  tables),
          effort_(effort),
          cost_(kSegment + kMaxEncodedMatch + 1),
          step_(kSegment + kMaxEncodedMatch + 1) {}

    void run() {
        const std::size_t n = data_.size();
        std::size_t pos = 0;
        while (pos < n) pos = parseSegment(pos, std::min(n, pos + kSegment));
    }

private:
    static constexpr std::size_t kSegment = 1 << 15;

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
        unsigned* const cost = cost_.data();
        Step* const step = step_.data();
        // Costs are reset just ahead of use: a segment cut short by a long match must not pay
        // for resetting the whole segment.
        cost[0] = 0;
        std::size_t reset = 0;
        std::size_t stop = span;
        Candidate taken{0, 0};
        unsigned previousLongest = 0;
        for (std::size_t i = 0; i < span; ++i) {
            const std::size_t pos = start + i;
            if (reset == i) cost[++reset] = kInfinite;
            const unsigned here = cost[i];
            relax(i + 1, here + e_.literal[data_[pos]].bits, 1, 0);
            unsigned count = 0;
            const unsigned depth = previousLongest >= effort_.insideLength ? effort_.insideChain
                                                                           : effort_.maxChain;
            const unsigned longest =
                finder_.find(pos, kMaxEncodedMatch, depth, [&](unsigned length, unsigned distance) {
                    candidates_[count++] = Candidate{length, distance};
                });
            previousLongest = longest;
            if (count == 0) continue;
            if (longest >= effort_.takeAtOnce) {
                stop = i;
                taken = candidates_[count - 1];
                break;
            }
            const std::size_t room = span - i;
            const unsigned reach = static_cast<unsigned>(std::min<std::size_t>(longest, room));
            while (reset < i + reach) cost[++reset] = kInfinite;
            if (reach >= 2 && candidates_[0].distance <= 256) {
                relax(i + 2, here + matchCost(e_, 2, candidates_[0].distance), 2,
                      candidates_[0].distance);
            }
            unsigned from = 3;
            for (unsigned c = 0; c < count && from <= reach; ++c) {
                const auto [length, distance] = candidates_[c];
                const unsigned last = std::min(length, reach);
                const unsigned distanceCost = here + e_.longDistance[distance - 1].bits;
                for (unsigned l = from; l <= last; ++l) {
                    const unsigned total = distanceCost + e_.length[l].bits;
                    if (total < cost[i + l]) {
                        cost[i + l] = total;
                        step[i + l] = Step{static_cast<std::uint16_t>(l),
                                           static_cast<std::uint16_t>(distance)};
                    }
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
    Effort effort_;
    std::vector<unsigned> cost_;
    std::vector<Step> step_;
    std::vector<Step> path_;
    Candidate candidates_[kMaxEncodedMatch + 1];
};

// Default: committing early to any match of 12 bytes or more keeps the parse cheap on text, where
// such matches are common; on code they are rare and the deep chain finds the short matches that
// keep the stream smaller than the classic encoder's. Best: the whole window.
constexpr Effort kDefaultEffort{128, 10, 16, 12, 512, 128};
constexpr Effort kBestEffort{4096, kMaxEncodedMatch, kMaxEncodedMatch, 300, 1024, 4096};

}  // namespace

bool isValidDictionarySize(unsigned dictionaryBytes) {
    return dictionaryCodeFor(dictionaryBytes) != 0;
}

std::vector<std::uint8_t> implodeOptimal(std::span<const std::uint8_t> input, bool ascii,
                                         unsigned dictionaryCode, const Effort& effort) {
    auto workspace = std::make_unique<ImplodeWorkspace>();
    initTokenEncoding(workspace->encoding, ascii, dictionaryCode);
    std::vector<std::uint8_t> out(implodeBound(input.size()));
    out[0] = ascii ? 1 : 0;
    out[1] = static_cast<std::uint8_t>(dictionaryCode);
    TokenWriter writer(workspace->encoding, input, out.data() + 2);
    auto parser = std::make_unique<OptimalParser>(workspace->encoding, input, writer,
                                                  workspace->tables, effort);
    parser->run();
    out.resize(static_cast<std::size_t>(writer.finish() - out.data()));
    return out;
}

// The stream names its literal mode and window, and every decoder follows them (any decoder keeps
// the largest window), so Best may pick both: the smaller window saves one or two distance bits on
// every match of 3 bytes or more, which pays when the data's repeats are near. The asked-for
// window is the largest tried. The quick parse ranks the choices; the full search runs only on
// those whose quick stream is within 2 % of the smallest, since the full search gains less than
// that over the quick one.
std::vector<std::uint8_t> implodeBest(std::span<const std::uint8_t> input, bool ascii,
                                      unsigned dictionaryCode) {
    struct Choice {
        bool ascii;
        unsigned dictionaryCode;
        std::size_t quickSize;
    };
    Choice choices[6];
    std::size_t count = 0;
    std::size_t smallestQuick = SIZE_MAX;
    // The asked-for mode and window first: on a tie they stay.
    for (const bool mode : {ascii, !ascii}) {
        for (unsigned code = dictionaryCode; code >= 4; --code) {
            const std::size_t size = implodeOptimal(input, mode, code, kDefaultEffort).size();
            choices[count++] = Choice{mode, code, size};
            smallestQuick = std::min(smallestQuick, size);
        }
    }
    std::vector<std::uint8_t> best;
    for (std::size_t i = 0; i < count; ++i) {
        if (choices[i].quickSize * 50 > smallestQuick * 51) continue;
        auto stream = implodeOptimal(input, choices[i].ascii, choices[i].dictionaryCode,
                                     kBestEffort);
        if (best.empty() || stream.size() < best.size()) best = std::move(stream);
    }
    return best;
}

std::vector<std::uint8_t> implode(std::span<const std::uint8_t> input,
                                  const ImplodeOptions& options) {
    const unsigned dictionaryCode = dictionaryCodeFor(options.dictionaryBytes);
    const bool ascii = options.mode == LiteralMode::Ascii;
    if (dictionaryCode == 0 || (!ascii && options.mode != LiteralMode::Binary) ||
        input.size() >= UINT32_MAX) {
        return {};
    }
    if (options.level != Level::Best) {
        return implodeOptimal(input, ascii, dictionaryCode, kDefaultEffort);
    }
    return implodeBest(input, ascii, dictionaryCode);
}

}  // namespace dcl
