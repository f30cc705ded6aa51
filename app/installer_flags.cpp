#include "app/installer_flags.h"

InstallerFlags& installerFlags() {
    static InstallerFlags flags;
    return flags;
}
