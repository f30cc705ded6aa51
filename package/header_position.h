// Where the package's InstallerHeader starts inside the working copy.
#pragma once

#include <cstdint>

// INSTALLER_SIZE_IN_BYTES, the size of the program file before the package was appended.
std::int64_t packageHeaderPosition();
