// Finds earlier occurrences of the bytes at a position within the implode window: hash chains
// over 3-byte prefixes for matches of 3 bytes and more, plus the latest position of every byte
// pair for the 2-byte matches the format allows within 256 bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "codec/dcl_codes.h"

namespace dcl {

// The finder's memory, owned by the caller so that the encoder can run without the C++ runtime's
// allocator. Positions are stored plus one, so an all-zero table means "nothing seen yet".
struct MatchFinderTables {
    static constexpr unsigned kHashBits = 15;
    // A chain never reaches further back than the largest window, so its links fit a ring.
    static constexpr std::size_t kChainSlots = 4096;

    std::uint32_t head[std::size_t{1} << kHashBits];
    std::uint32_t previous[kChainSlots];
    std::uint32_t lastPair[std::size_t{1} << 16];
};

class MatchFinder {
public:
    // tables must be zeroed.
    // The search ends after maxChain candidates, or once a match reaches niceLength; after a
    // match of goodLength a quarter of maxChain candidates at most remain.
    MatchFinder(std::span<const std::uint8_t> data, unsigned maxDistance, unsigned maxChain,
                unsigned goodLength, unsigned niceLength, MatchFinderTables& tables)
        : data_(data.data()),
          size_(data.size()),
          maxDistance_(maxDistance),
          maxChain_(maxChain),
          goodLength_(goodLength),
          niceLength_(niceLength),
          head_(tables.head),
          previous_(tables.previous),
          lastPair_(tables.lastPair) {}

    // Calls onMatch(length, distance) for matches at pos, nearest first, each longer than the one
    // before (so for every length the nearest distance is reported), up to maxLength bytes; then
    // records pos. Returns the longest length found (0 when none). Positions must be visited in
    // increasing order, each exactly once through find() or skip().
    template <class OnMatch>
    unsigned find(std::size_t pos, unsigned maxLength, OnMatch&& onMatch) {
        return find(pos, maxLength, maxChain_, onMatch);
    }

    // The same with at most chainDepth candidates from the hash chain.
    template <class OnMatch>
    unsigned find(std::size_t pos, unsigned maxLength, unsigned chainDepth, OnMatch&& onMatch) {
        const std::size_t left = size_ - pos;
        const unsigned limit = left < maxLength ? static_cast<unsigned>(left) : maxLength;
        unsigned best = 1;
        if (limit >= 2) {
            const std::uint32_t pairSlot = lastPair_[pairAt(pos)];
            if (pairSlot != 0 && pos - (pairSlot - 1) <= 256) {
                const std::size_t candidate = pairSlot - 1;
                best = commonLength(candidate, pos, limit);
                onMatch(best, static_cast<unsigned>(pos - candidate));
            }
        }
        const unsigned niceLimit = limit < niceLength_ ? limit : niceLength_;
        if (limit >= 3 && best < niceLimit) {
            // Slots at or below this one are out of the window (or empty: slot 0).
            const std::size_t oldest = pos > maxDistance_ ? pos - maxDistance_ : 0;
            std::size_t slot = head_[hashAt(pos)];
            // After a good match a quarter of the depth remains (the loop's decrement comes on top).
            const unsigned fewMore = chainDepth / 4 + 1;
            for (unsigned depth = chainDepth; slot > oldest && depth != 0; --depth) {
                const std::size_t candidate = slot - 1;
                if (data_[candidate + best] == data_[pos + best]) {
                    const unsigned length = commonLength(candidate, pos, limit);
                    if (length > best) {
                        best = length;
                        onMatch(length, static_cast<unsigned>(pos - candidate));
                        if (length >= niceLimit) break;
                        // A good match already: look at only a few more candidates.
                        if (length >= goodLength_ && depth > fewMore) depth = fewMore;
                    }
                }
                slot = previous_[candidate & (kChainSlots - 1)];
            }
        }
        skip(pos);
        return best >= 2 ? best : 0;
    }

    // Records pos without searching.
    void skip(std::size_t pos) {
        if (pos + 3 <= size_) {
            std::uint32_t& head = head_[hashAt(pos)];
            previous_[pos & (kChainSlots - 1)] = head;
            head = static_cast<std::uint32_t>(pos + 1);
        }
        if (pos + 2 <= size_) lastPair_[pairAt(pos)] = static_cast<std::uint32_t>(pos + 1);
    }

private:
    static constexpr unsigned kHashBits = MatchFinderTables::kHashBits;
    static constexpr std::size_t kChainSlots = MatchFinderTables::kChainSlots;

    unsigned pairAt(std::size_t pos) const {
        std::uint16_t v;
        std::memcpy(&v, data_ + pos, 2);
        return v;  // any byte order: the value only has to be the same for the same two bytes
    }

    // Needs 3 bytes at pos; reads a fourth when there is one (one load instead of three).
    unsigned hashAt(std::size_t pos) const {
        std::uint32_t v;
        if (pos + 4 <= size_) {
            std::memcpy(&v, data_ + pos, 4);
            if constexpr (std::endian::native == std::endian::little) {
                v &= 0xFFFFFFu;
            } else {
                v >>= 8;
            }
        } else {
            v = data_[pos] | data_[pos + 1] << 8 | data_[pos + 2] << 16;
        }
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    unsigned commonLength(std::size_t earlier, std::size_t pos, unsigned limit) const {
        const std::uint8_t* a = data_ + earlier;
        const std::uint8_t* b = data_ + pos;
        unsigned length = 0;
        while (length + 8 <= limit) {
            std::uint64_t x, y;
            std::memcpy(&x, a + length, 8);
            std::memcpy(&y, b + length, 8);
            if (x != y) {
                if constexpr (std::endian::native == std::endian::little) {
                    return length + static_cast<unsigned>(std::countr_zero(x ^ y)) / 8;
                } else {
                    break;
                }
            }
            length += 8;
        }
        while (length < limit && a[length] == b[length]) ++length;
        return length;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t maxDistance_;
    unsigned maxChain_;
    unsigned goodLength_;
    unsigned niceLength_;
    std::uint32_t* head_;
    std::uint32_t* previous_;
    std::uint32_t* lastPair_;
};

}  // namespace dcl
