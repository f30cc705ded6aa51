// Inputs that exercise the encoder's paths: text, code, images, noise, runs, edge sizes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dcl::testing {

struct Sample {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

std::vector<Sample> sampleCorpus();

}  // namespace dcl::testing
