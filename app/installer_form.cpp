#include "app/installer_form.h"

#include "app/installer_flags.h"
#include "app/launcher_notices.h"
#include "app/startup_sequence.h"
#include "sys/file_operations.h"
#include "ui/application.h"

bool TInstallerForm::create() {
    if (!registerClass(kClassName)) return false;
    WindowCreateArgs args;
    args.className = kClassName;
    // Single border, system menu only; it stays on top of other windows once shown.
    args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    args.exStyle = WS_EX_TOPMOST;
    args.left = -3000;
    args.top = -3000;
    args.width = 490;
    args.height = 400;
    args.parent = Application::instance().handle();
    if (!Window::create(args)) return false;
    run_.feedback = this;
    setNoticeSenderWindow(hwnd());
    FormCreate();
    return true;
}

void TInstallerForm::FormCreate() {
    startupRunning_ = true;
    runStartupSequence(*this);
    startupRunning_ = false;
}

void TInstallerForm::close() {
    if (closed_ || !FormCloseQuery()) return;
    FormClose();
}

bool TInstallerForm::FormCloseQuery() const {
    return !installerFlags().installing;
}

void TInstallerForm::FormClose() {
    closed_ = true;
    // The outcome is not examined: nothing more can be done about a folder that stays.
    if (!run_.folders.workDir.empty()) deleteFolderTree(run_.folders.workDir);
    destroy();
    postLauncherClose();
    Application::instance().terminate();
}

void TInstallerForm::showStatus(const std::string&) {}

void TInstallerForm::stepProgress() {}

bool TInstallerForm::cancelRequested() const {
    return installerFlags().cancelRequested;
}

LRESULT TInstallerForm::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        close();
        return 0;
    }
    return defaultHandling(message, wParam, lParam);
}
