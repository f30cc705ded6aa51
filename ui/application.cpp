#include "ui/application.h"

namespace {
constexpr char kApplicationClass[] = "NrvApplication";

LRESULT CALLBACK applicationWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Closing the taskbar button is a request to end, as for any program.
    if (message == WM_CLOSE) {
        Application::instance().terminate();
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
}  // namespace

Application& Application::instance() {
    static Application application;
    return application;
}

bool Application::initialize(HINSTANCE instance) {
    instance_ = instance;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = applicationWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.lpszClassName = kApplicationClass;
    RegisterClassA(&windowClass);
    // Zero-sized and at the screen's centre: it is there for its taskbar button only.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExA(0, kApplicationClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              x, y, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!handle_) return false;
    ShowWindow(handle_, SW_SHOWNOACTIVATE);
    return true;
}

void Application::setTitle(const std::string& title) {
    title_ = title;
    if (handle_) SetWindowTextA(handle_, title_.c_str());
}

void Application::setMainWindow(HWND window) {
    if (!mainWindow_) mainWindow_ = window;
}

void Application::bringToFront() {
    HWND target = GetLastActivePopup(mainWindow_ ? mainWindow_ : handle_);
    if (!target) return;
    // SetForegroundWindow activates; BringWindowToTop is what raises it in the z-order.
    BringWindowToTop(target);
    SetForegroundWindow(target);
}

bool Application::dispatch(MSG& message) {
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return true;
}

void Application::processMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!dispatch(message)) break;
    }
}

void Application::handleMessage() {
    MSG message;
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) {
        terminated_ = true;
        return;
    }
    dispatch(message);
}

void Application::terminate() {
    if (terminated_) return;
    terminated_ = true;
    // The loop may be waiting in GetMessage: a quit message wakes it.
    PostQuitMessage(0);
}

void Application::run() {
    if (terminated_) {
        processMessages();
        return;
    }
    while (!terminated_) handleMessage();
}

void Application::setScreenCursor(HCURSOR cursor) {
    screenCursor_ = cursor;
    // Windows keep it through WM_SETCURSOR (see Window); this shows it before the next move.
    SetCursor(cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW));
}

HourglassCursor::HourglassCursor() : previous_(Application::instance().screenCursor()) {
    Application::instance().setScreenCursor(LoadCursorA(nullptr, IDC_WAIT));
}

HourglassCursor::~HourglassCursor() {
    Application::instance().setScreenCursor(previous_);
}
