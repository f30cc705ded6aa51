// The independent implementation the codec is checked against: StormLib's classic-shaped
// implode and explode (Debian libstorm-dev), behind plain vector-in, vector-out calls.
#pragma once

#include <cstdint>
#include <vector>

namespace dcl::reference {

// 0 binary / 1 ASCII; dictionary 1024, 2048 or 4096. Empty on failure.
std::vector<std::uint8_t> implode(const std::vector<std::uint8_t>& input, unsigned mode,
                                  unsigned dictionaryBytes);

// Returns the library's result code (0 on success). StormLib refuses a stream whose first read
// delivers 4 bytes or fewer, so streams are handed over in reads of up to 64 KiB.
unsigned explode(const std::vector<std::uint8_t>& stream, std::vector<std::uint8_t>& output);

}  // namespace dcl::reference
