// A minimal Windows program with INSTALLER_SIZE_IN_BYTES, built by the cross compilers so the
// tests patch real PE32 and PE32+ files laid out by the real linker.
#include "package/installer_size.h"

int main() {
    return installerSizeInBytes() == kInstallerSizeUnpatched ? 0 : 1;
}
