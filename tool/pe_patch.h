// Finding INSTALLER_SIZE_IN_BYTES in a stub's program file through its PE headers: DOS header
// e_lfanew -> "PE\0\0" -> COFF header -> section table -> the section that holds the constant
// alone. Works for PE32 (i686) and PE32+ (x86_64) stubs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct InstallerSizeField {
    std::size_t fileOffset = 0;  // of the constant's 4 bytes in the program file
    bool pe32Plus = false;
};

bool findInstallerSizeField(std::span<const std::uint8_t> image, InstallerSizeField& field,
                            std::string& error);

// Sets the constant to the stub's own size, so the package begins where the program ends.
bool patchInstallerSize(std::vector<std::uint8_t>& stub, std::string& error);
