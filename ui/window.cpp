#include "ui/window.h"

#include <vector>

#include "ui/application.h"

Window::~Window() {
    destroy();
}

bool Window::registerClass(const char* className, HBRUSH background) {
    HINSTANCE instance = Application::instance().instanceHandle();
    WNDCLASSA existing;
    if (GetClassInfoA(instance, className, &existing)) return true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground =
        background ? background : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

bool Window::create(const WindowCreateArgs& args) {
    if (hwnd_) return false;
    HWND created = CreateWindowExA(args.exStyle, args.className, args.caption.c_str(), args.style,
                                   args.left, args.top, args.width, args.height, args.parent,
                                   nullptr, Application::instance().instanceHandle(), this);
    return created != nullptr;
}

void Window::destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

std::string Window::text() const {
    if (!hwnd_) return {};
    const int length = GetWindowTextLengthA(hwnd_);
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const int got = GetWindowTextA(hwnd_, buffer.data(), length + 1);
    return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void Window::setText(const std::string& text) {
    if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

RECT Window::bounds() const {
    RECT rect = {};
    if (hwnd_) GetWindowRect(hwnd_, &rect);
    return rect;
}

void Window::setPosition(int left, int top) {
    if (hwnd_)
        SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::setClientSize(int width, int height) {
    if (!hwnd_) return;
    RECT rect = {0, 0, width, height};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::repaint() {
    if (!hwnd_) return;
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultHandling(message, wParam, lParam);
}

LRESULT Window::defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT) {
        if (HCURSOR cursor = Application::instance().screenCursor()) {
            SetCursor(cursor);
            return TRUE;
        }
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO) have no object yet.
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = self->handleMessage(message, wParam, lParam);
        self->hwnd_ = nullptr;
        self->onDestroyed();
        return result;
    }
    return self->handleMessage(message, wParam, lParam);
}
