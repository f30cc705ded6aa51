// The PKWARE Data Compression Library "implode" stream format, both directions.
// Portable C++: no Windows call, no global state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace dcl {

enum class LiteralMode : std::uint8_t { Binary = 0, Ascii = 1 };
enum class Level { Default, Best };

struct ImplodeOptions {
    LiteralMode mode = LiteralMode::Binary;
    unsigned dictionaryBytes = 4096;  // 1024, 2048 or 4096
    Level level = Level::Default;
};

enum class Status {
    Ok,
    BadHeader,      // literal mode or dictionary byte out of range
    CorruptData,    // an impossible code or a distance before the start of the output
    TruncatedData,  // the input ended before the end code
    OutputFull,     // the output would exceed the limit the caller set
};

bool isValidDictionarySize(unsigned dictionaryBytes);

// The whole stream: header, tokens, end code. Level::Best searches the whole window, is several
// times slower, and may switch to the other literal mode or to a smaller dictionary than asked
// for when that gives a smaller stream (the stream records both); it is meant for data imploded
// once and exploded many times.
// Returns an empty vector (never a valid stream) when the options are invalid or the input is
// 4 GiB or more.
std::vector<std::uint8_t> implode(std::span<const std::uint8_t> input,
                                  const ImplodeOptions& options = {});

// Appends the exploded bytes to output; never more than maxOutput bytes in all. On an error the
// bytes decoded before the fault stay appended (up to maxOutput), as the classic library
// delivers them too. Works through the streaming core (codec/explode_stream.h).
Status explode(std::span<const std::uint8_t> input, std::vector<std::uint8_t>& output,
               std::size_t maxOutput = SIZE_MAX);

}  // namespace dcl
