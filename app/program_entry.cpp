#include "app/program_entry.h"

#include "app/installer_form.h"
#include "app/preparing_install_wnd.h"
#include "ui/application.h"
#include "ui/message_dialog.h"

namespace {
ResultCode exitCode = kOk;
TInstallerForm* installerForm = nullptr;

// The main window's close box ends the run the way the form's does, so the work folder is
// removed; while the start-up runs inside the form's creation the request waits.
void closeRequestedOnMainWindow() {
    if (!installerForm) {
        Application::instance().terminate();
        return;
    }
    if (!installerForm->startupRunning()) installerForm->close();
}
}  // namespace

void setProcessExitCode(ResultCode code) {
    exitCode = code;
}

int runInstallerProgram(HINSTANCE instance) {
    Application& application = Application::instance();
    if (!application.initialize(instance)) return 1;
    installMessageDialogs();
    application.setTitle("Preparing installation...");

    TpreparingInstallWnd preparing;
    if (!preparing.create()) return 1;
    setPreparingInstallWnd(&preparing);
    preparing.setCloseHandler(closeRequestedOnMainWindow);
    application.setMainWindow(preparing.hwnd());
    preparing.setCaption(executableFileName());
    preparing.setStatusText("Preparing installation...");
    application.processMessages();

    RunState run;
    TInstallerForm form(run);
    installerForm = &form;
    if (!form.create()) {
        // No form, no way for the user to end the run: end it now.
        installerForm = nullptr;
        setPreparingInstallWnd(nullptr);
        return 1;
    }
    if (!form.closed()) ShowWindow(form.hwnd(), SW_SHOW);

    application.run();
    installerForm = nullptr;
    setPreparingInstallWnd(nullptr);
    // A negative code leaves the process as its 32-bit two's complement.
    return exitCode;
}
