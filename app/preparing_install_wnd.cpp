#include "app/preparing_install_wnd.h"

#include <windows.h>

#include "app/screen_position.h"
#include "ui/application.h"

namespace {
TpreparingInstallWnd* theWindow = nullptr;
}

TpreparingInstallWnd* preparingInstallWnd() {
    return theWindow;
}
void setPreparingInstallWnd(TpreparingInstallWnd* window) {
    theWindow = window;
}

bool TpreparingInstallWnd::create() {
    if (!registerClass(kClassName)) return false;
    // Single border with the system menu only: no minimise or maximise box, no sizing.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    WindowCreateArgs args;
    args.className = kClassName;
    args.style = style;
    args.left = kInitialLeft;
    args.top = kInitialTop;
    args.width = frame.right - frame.left;
    args.height = frame.bottom - frame.top;
    args.parent = Application::instance().handle();
    if (!Window::create(args)) return false;
    SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(defaultGuiFont()), FALSE);
    LabelStyle labelStyle;
    labelStyle.centred = true;
    return label1_.create(hwnd(), "Preparing Installation...", {0, 0, kClientWidth, kClientHeight},
                          labelStyle);
}

void TpreparingInstallWnd::setStatusText(const std::string& text) {
    label1_.setText(text);
    label1_.repaint();
}

void TpreparingInstallWnd::moveOffScreen() {
    setPosition(kOffScreen, kOffScreen);
}

void TpreparingInstallWnd::centerOnScreen() {
    const RECT rect = bounds();
    const ScreenPosition position =
        centredOnScreen({GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                        {rect.right - rect.left, rect.bottom - rect.top});
    setPosition(position.left, position.top);
    Application::instance().processMessages();
}

LRESULT TpreparingInstallWnd::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        if (closeHandler_) closeHandler_();
        return 0;
    }
    return defaultHandling(message, wParam, lParam);
}

std::string executableFileName() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full(path, length);
    const std::size_t slash = full.find_last_of("\\/");
    return slash == std::string::npos ? full : full.substr(slash + 1);
}
