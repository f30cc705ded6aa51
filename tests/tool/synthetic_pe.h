// A small program file with just the PE headers the tool reads: enough to find, patch and
// read back INSTALLER_SIZE_IN_BYTES without a cross compiler.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SyntheticPeOptions {
    bool pe32Plus = false;
    std::string sizeSectionName = ".instsz";  // empty: no such section
    std::uint32_t sizeSectionRawSize = 0x200;
    int sizeSectionCount = 1;
};

std::vector<std::uint8_t> makeSyntheticPe(const SyntheticPeOptions& options = {});
