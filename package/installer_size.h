// INSTALLER_SIZE_IN_BYTES: the size of the installer program file before a package was appended,
// which is where the package's InstallerHeader begins. The authoring tool writes it into the
// program file after linking.
#pragma once

#include <cstdint>

// The PE section that holds the constant alone, so the tool finds it through the section table
// with no marker bytes beside it. Section names are at most 8 characters.
#define NRV_INSTALLER_SIZE_SECTION ".instsz"

// The value an unpatched stub carries: past the end of any program file this system makes, so a
// stub without a package reads no header there and reports it, instead of reading its own
// program bytes as a header.
constexpr std::int32_t kInstallerSizeUnpatched = 0x7FFFFFFF;

// INSTALLER_SIZE_IN_BYTES as the file holds it; read from memory on every call, never folded.
std::int32_t installerSizeInBytes();
