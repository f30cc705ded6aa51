#include "app/launcher_notices.h"

#include "app/command_line.h"
#include "app/launcher_lookup.h"
#include "ui/application.h"

namespace {
LauncherTarget launcher;
HWND noticeSender = nullptr;

HWND launcherWindow() {
    return reinterpret_cast<HWND>(launcher.handle());
}
}  // namespace

void resetLauncherWindow() {
    launcher.reset();
}

std::uintptr_t findLauncherWindow() {
    return launcher.lookUp(commandLineParameters(GetCommandLineA()));
}

void setNoticeSenderWindow(HWND window) {
    noticeSender = window;
}

void notifyLauncher(const std::string& text) {
    if (findLauncherWindow() == 0) return;
    const std::string data = launcherNoticeData(text);
    COPYDATASTRUCT record = {};
    record.dwData = 0;
    record.cbData = static_cast<DWORD>(data.size());
    record.lpData = const_cast<char*>(data.data());
    HWND sender = noticeSender ? noticeSender : Application::instance().mainWindow();
    // Synchronous: the launcher may act on a notice before the installer goes on.
    SendMessageA(launcherWindow(), WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                 reinterpret_cast<LPARAM>(&record));
}

void postLauncherClose() {
    if (HWND window = launcherWindow()) PostMessageA(window, kLauncherCloseMessage, 0, 0);
}
