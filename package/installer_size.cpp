#include "package/installer_size.h"

namespace {

// Alone in its own section: the first 4 bytes of that section's raw data are this value, and the
// tool patches them there. `volatile` keeps the compiler from replacing reads by the initial
// value; `used` keeps the linker from dropping it.
__attribute__((section(NRV_INSTALLER_SIZE_SECTION),
               used)) volatile std::int32_t INSTALLER_SIZE_IN_BYTES = kInstallerSizeUnpatched;

}  // namespace

std::int32_t installerSizeInBytes() {
    return INSTALLER_SIZE_IN_BYTES;
}
