#include "app/startup_sequence.h"

#include "app/installer_flags.h"
#include "app/installer_form.h"
#include "app/launcher_notices.h"
#include "app/startup_messages.h"
#include "package/startup_shortcut.h"
#include "package/working_copy.h"
#include "sys/folders.h"
#include "sys/os_identification.h"
#include "ui/application.h"

void runStartupSequence(TInstallerForm& form) {
    RunState& run = form.run();
    ResultCode result = kOk;
    {
        HourglassCursor hourglass;
        installerFlags() = {};
        resetLauncherWindow();
        // A failed WOW64 test leaves no trustworthy OS code: it ends the start-up like any
        // other failure instead of letting later steps guess the system.
        result = GetOperatingSystem(run.osCode);

        if (result == kOk) result = resolveInstallerFolders(win32FolderPlatform(), run.folders);
        // Whatever the folders gave: a leftover shortcut would start the installer again.
        removeStartupShortcut();

        if (result == kOk) setInstallerPaths(run);
        if (result == kOk) result = makeWorkingCopy(run);
        if (result == kOk) result = readInstallerHeader(run);
    }

    if (result != kOk) {
        showStartupError(result);
        form.close();
        Application::instance().terminate();
    }
}
