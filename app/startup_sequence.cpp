#include "app/startup_sequence.h"

#include <windows.h>

#include "app/command_line.h"
#include "app/installer_flags.h"
#include "app/installer_form.h"
#include "app/launcher_notices.h"
#include "app/preparing_install_wnd.h"
#include "app/startup_messages.h"
#include "package/startup_shortcut.h"
#include "package/working_copy.h"
#include "sys/folders.h"
#include "sys/os_identification.h"
#include "ui/application.h"

namespace {

// The header's install mode, unless "/q" asks for quiet mode; every "/q" is reported.
// Returns whether "/q" was given.
bool readCommandLine(RunState& run) {
    run.displayMode = run.header.installMode;
    bool quietFromCommandLine = false;
    for (const std::string& parameter : commandLineParameters(GetCommandLineA())) {
        if (!isQuietSwitch(parameter)) continue;
        run.displayMode = kDisplayQuiet;
        notifyLauncher("quiet installer");
        quietFromCommandLine = true;
    }
    return quietFromCommandLine;
}

}  // namespace

void runStartupSequence(TInstallerForm& form) {
    RunState& run = form.run();
    ResultCode result = kOk;
    bool quietFromCommandLine = false;
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

        if (result == kOk) {
            notifyLauncher("read installer heard file");
            quietFromCommandLine = readCommandLine(run);
            // From here on the preparation window covers the start-up work, unless quiet.
            if (TpreparingInstallWnd* preparing = preparingInstallWnd()) {
                if (form.quiet()) {
                    preparing->moveOffScreen();
                } else {
                    preparing->centerOnScreen();
                }
            }
            setSaverPaths(run);
            result = checkSaverName(run);
        }
    }

    if (result != kOk) {
        showStartupError(result);
        form.close();
        Application::instance().terminate();
    } else if (form.quiet()) {
        // Quiet mode never shows the form: the run ends here. A package that asks for quiet
        // mode itself leaves the control panel to its launcher; whoever passed "/q" decides
        // about that on its own.
        if (run.header.offerControlPanel != 0 && !quietFromCommandLine) {
            notifyLauncher("openScreenSaverControlPanel");
        }
        form.close();
        Application::instance().terminate();
    }
}
